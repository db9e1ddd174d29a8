// SPDX-License-Identifier: GPL-3.0-or-later
import QtQuick
import "../common"

// The window's background picture.
SkinImage {
    width: 1000
    height: 640
    source: mainIten.sourceBackground
}
