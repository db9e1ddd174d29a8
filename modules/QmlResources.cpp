// SPDX-License-Identifier: GPL-3.0-or-later
// The window's documents and pictures are compiled in as resources of this
// library; the function gives the archive a symbol to link against.
namespace quellar {
int qmlResourcesLinked() {
    return 1;
}
} // namespace quellar
