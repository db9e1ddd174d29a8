// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick

// A skin picture drawn at exactly its laid-out size. Pictures are SVG, so
// rasterising them at the item's size (times the screen's scale) keeps every
// edge sharp at any QT_SCALE_FACTOR. Callers always set width and height.
Image {
    sourceSize.width: width
    sourceSize.height: height
    fillMode: Image.Stretch
    smooth: true
    asynchronous: false
}
