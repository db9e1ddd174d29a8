// SPDX-License-Identifier: GPL-3.0-or-later
.pragma library

// The value rules of the settings panels: what a click, a drag or a stored
// value means for the mouse. Plain functions, so every panel uses the same
// rule and the rules can be tested without a window.

// ---- Thresholds and small maps ----------------------------------------------

// Pointer x (pixels into an axis slider) where positions 1 to 9 begin.
const xyThresholds = [30, 52, 74, 95, 116, 137, 159, 180, 200];
// Pointer x (pixels into a lighting slider) where positions 1 to 4 begin.
const lightThresholds = [34, 63, 93, 122];

// The slider position under the pointer: how many thresholds x has reached.
function positionFromThresholds(x, thresholds) {
    let position = 0;
    while (position < thresholds.length && x >= thresholds[position])
        ++position;
    return position;
}

// Axis sensitivity position 0 (slowest) to 9 (fastest) under the pointer.
function axisPosition(x) {
    return positionFromThresholds(x, xyThresholds);
}

// Lighting slider position 0 to 4 under the pointer.
function lightPosition(x) {
    return positionFromThresholds(x, lightThresholds);
}

// The axis position a stored value selects: "0" to "8" select themselves,
// anything else (never stored, damaged, out of range) the fastest, 9.
function axisPositionFromStored(value) {
    const text = String(value);
    for (let position = 0; position <= 8; ++position) {
        if (text === String(position))
            return position;
    }
    return 9;
}

// The sensitivity the mouse is sent for a position: 20 to 200 in steps of 20.
function axisDeviceValue(position) {
    return (position + 1) * 20;
}

// ---- DPI ----------------------------------------------------------------------

// Pixels of travel of a DPI slider, from 200 DPI at the bottom to 6000 at the top.
const dpiTravel = 154;
const dpiLowest = 200;
const dpiSpan = 5800;
const dpiStep = 100;
// The value list always carries two unused stages 7 and 8 at 250 DPI.
const dpiSpareValue = 250;
// Code of a stage the mouse skips (off, or one of the spare stages 7 and 8).
const dpiStageOff = 0x80;
// Values above this are sent in steps of 200 with this flag.
const dpiFineLimit = 5000;
const dpiCoarseFlag = 0x40;
const dpiStages = 6;
// Share of a step forgiven below a step: the height of a loaded value such as
// 900 reads back as 899.99999... in floating point and would show 800. No
// pointer height comes this close to a step without meaning it.
const dpiStepTolerance = 1e-6;

// The DPI a click or drag at h pixels above the slider's bottom chooses,
// 200 to 6000 in steps of 100.
function dpiFromHeight(h) {
    const height = Math.min(Math.max(h, 0), dpiTravel);
    return Math.floor((dpiSpan * height / dpiTravel + dpiLowest) / dpiStep + dpiStepTolerance) * dpiStep;
}

// Where the slider of a loaded value sits, in pixels above the bottom.
// Not clamped: the slider clamps when it draws.
function dpiHeightFromValue(v) {
    return (v - dpiLowest) * dpiTravel / dpiSpan;
}

// The code the mouse stores for a stage's DPI.
function dpiCode(value, inUse, stageIndex) {
    if (stageIndex >= dpiStages || !inUse)
        return dpiStageOff;
    if (value <= dpiFineLimit)
        return Math.floor(value / 100) - 1;
    return Math.floor(value / 200) | dpiCoarseFlag;
}

// The eight DPI values kept in the profile: the six stages, then the spares.
function dpiValueList(values6) {
    const list = [];
    for (let i = 0; i < dpiStages; ++i)
        list.push(values6[i]);
    return list.concat([dpiSpareValue, dpiSpareValue]);
}

// The eight in-use flags: 1 for a stage in use, 0 for off; the spares are off.
function dpiSelectList(inUse6) {
    const list = [];
    for (let i = 0; i < dpiStages; ++i)
        list.push(inUse6[i] ? 1 : 0);
    return list.concat([0, 0]);
}

// The eight codes sent to the mouse; stages 7 and 8 are always off.
function dpiCodeList(values6, inUse6) {
    const values = dpiValueList(values6);
    const inUse = dpiSelectList(inUse6);
    return values.map((value, i) => dpiCode(value, inUse[i] === 1, i));
}

// ---- Colours ------------------------------------------------------------------

// A colour component as two lower-case hexadecimal digits.
function hex2(n) {
    const value = Math.min(Math.max(Math.floor(Number(n) || 0), 0), 255);
    return (value < 16 ? "0" : "") + value.toString(16);
}

// A colour as the text "#rrggbb".
function colourText(r, g, b) {
    return "#" + hex2(r) + hex2(g) + hex2(b);
}

// The six stage colours from the stored list, three numbers per stage;
// a missing or damaged number counts as 0.
function stageColours(list18) {
    const list = list18 || [];
    const colours = [];
    for (let stage = 0; stage < dpiStages; ++stage)
        colours.push(colourText(list[stage * 3], list[stage * 3 + 1], list[stage * 3 + 2]));
    return colours;
}

// The six stage values of the stored DPI list; a stage the list lacks keeps
// the slider's start value, 6000.
function stageValues(list8) {
    const list = list8 || [];
    const values = [];
    for (let stage = 0; stage < dpiStages; ++stage) {
        const v = Number(list[stage]);
        values.push(list[stage] !== undefined && isFinite(v) ? v : dpiLowest + dpiSpan);
    }
    return values;
}

// Which of the six stages the DPI button steps through; a stage the stored
// list lacks stays in use.
function stageInUse(list8) {
    const list = list8 || [];
    const inUse = [];
    for (let stage = 0; stage < dpiStages; ++stage)
        inUse.push(list[stage] === undefined || Number(list[stage]) !== 0);
    return inUse;
}

// Red, green and blue of a "#rrggbb" text; anything else is black.
function rgbOf(text) {
    const match = /^#([0-9a-f]{2})([0-9a-f]{2})([0-9a-f]{2})$/i.exec(String(text));
    if (!match)
        return [0, 0, 0];
    return [parseInt(match[1], 16), parseInt(match[2], 16), parseInt(match[3], 16)];
}

// The colour table the mouse stores: red, green, blue of stages 1 to 6,
// then six zeros for the spare stages.
function stageColourList(colourTexts6) {
    let list = [];
    for (let stage = 0; stage < dpiStages; ++stage)
        list = list.concat(rgbOf(colourTexts6[stage]));
    return list.concat([0, 0, 0, 0, 0, 0]);
}

// The picker's preset swatches, also the stages' colours out of the box.
const presetColours = ["#ff0000", "#0000ff", "#00ff00", "#ffff00", "#00ffff", "#ff00ff"];

// Where the colour picker opens for a stage (0-based), so it sits by its square.
const colourPickerXs = [25, 61, 98, -17, 20];
const colourPickerOtherX = 58;

function colourPickerX(stage) {
    return stage >= 0 && stage < colourPickerXs.length ? colourPickerXs[stage] : colourPickerOtherX;
}

// The hue bar: 128 pixels in six segments red, yellow, green, cyan, blue,
// magenta; the marker runs from -2 to 125 (its centre over the bar).
const hueBarWidth = 128;
const hueSegments = 6;
const hueMarkerOffset = 2;

// The colour under the marker at position p.
function hueColour(p) {
    const w = Math.floor(hueBarWidth / hueSegments);
    const along = p + hueMarkerOffset;
    const i = Math.floor(along / w);
    const s = Math.floor((along - i * w) * 255 / w);
    switch (i) {
    case 0: return colourText(255, s, 0);
    case 1: return colourText(255 - s, 255, 0);
    case 2: return colourText(0, 255, s);
    case 3: return colourText(0, 255 - s, 255);
    case 4: return colourText(s, 0, 255);
    case 5: return colourText(255, 0, 255 - s);
    default: return colourText(255, 0, 0);
    }
}

// Where the marker goes for a colour, so the bar shows the stage's hue;
// a colour off the bar puts it at the start.
function hueMarker(text) {
    const d = hueBarWidth / hueSegments;
    const u = d / 256;
    const [r, g, b] = rgbOf(text);
    let position = 0;
    if (r === 255 && b === 0)
        position = u * g;
    else if (r === 0 && b === 255)
        position = 3 * d + u * (255 - g);
    else if (g === 255 && b === 0)
        position = d + u * (255 - r);
    else if (g === 0 && b === 255)
        position = 4 * d + u * r;
    else if (r === 0 && g === 255)
        position = 2 * d + u * b;
    else if (r === 255 && g === 0)
        position = 5 * d + u * (255 - b);
    return Math.trunc(position - hueMarkerOffset);
}

// ---- Lighting -----------------------------------------------------------------

const lightStatic = 1;
const lightBreath = 2;
const lightRgb = 3;
const lightFingerTapping = 4;
// Slider position shown until something is loaded, and when none is stored.
const lightDefaultPosition = 4;

// The level the mouse is sent for a slider position: brightness for Static
// (0 is off), breathing period for Breath (slow at 0), speed for RGB and
// Finger Tapping.
function lightLevel(effect, position) {
    switch (effect) {
    case lightStatic: return [0, 2, 4, 6, 10][position];
    case lightBreath: return 5 - position;
    case lightRgb:
    case lightFingerTapping: return (position + 1) * 6;
    default: return 1;
    }
}

// The arguments of the lighting call: what the mouse gets, and the panel's
// own values for the profile. Static at position 0 turns the light off.
function lightCall(effect, position, option2) {
    const configs = [effect, position, option2];
    if (effect === lightStatic && position === 0)
        return { effect: 0, level: 0, option2: 0, configs: configs };
    return { effect: effect, level: lightLevel(effect, position), option2: option2, configs: configs };
}

// The mode and slider position a stored lighting list selects: an unknown or
// missing mode selects Finger Tapping; a missing position the fastest, 4.
// A stored position is taken as it is, like every stored lighting value.
function lightFromStored(list) {
    const stored = list || [];
    const effect = [lightStatic, lightBreath, lightRgb].indexOf(stored[0]) >= 0 ? stored[0] : lightFingerTapping;
    const position = typeof stored[1] === "number" && isFinite(stored[1]) ? stored[1] : lightDefaultPosition;
    return { effect: effect, position: position };
}

// ---- Report rate --------------------------------------------------------------

// The largest report-rate value (125 reports a second); larger stored values mean it.
const reportRateSlowest = 8;

// The report-rate value a stored one shows; 0 stays 0 (it shows the 8 picture).
function reportRateFromStored(v) {
    const value = Number(v) || 0;
    return value > reportRateSlowest ? reportRateSlowest : value;
}

// The value under the pointer on the four-quarter picture:
// top right 1, bottom right 2, bottom left 4, top left 8.
function reportQuadrant(x, y, width, height) {
    const top = y < height / 2;
    if (x >= width / 2)
        return top ? 1 : 2;
    return top ? 8 : 4;
}

// Which quarter the picture highlights; an unknown value shows the 8 picture.
function reportPicture(value) {
    return value === 1 || value === 2 || value === 4 ? value : reportRateSlowest;
}

// ---- Half-dial ----------------------------------------------------------------

// The pivot of the speed dials, in pixels below the picture's top.
const dialPivotY = 70;
const dialDegreesPerValue = 18;
// Pictures exist for values 0 to 10; 11 shows the 10 picture.
const dialLastPicture = 10;

function wholeDegrees(radians) {
    return Math.trunc(radians * 180 / Math.PI);
}

// The pointer's angle around the pivot, 0 (left) to 180 (right), in whole degrees.
function dialAngle(x, y, centre) {
    const up = Math.max(0, dialPivotY - y);
    if (x < centre)
        return up === 0 ? 0 : wholeDegrees(Math.atan(up / (centre - x)));
    if (up === 0)
        return 180;
    if (x === centre)
        return 90;
    return 90 + wholeDegrees(Math.atan((x - centre) / up));
}

// The speed 0 to 11 the pointer chooses on the dial (11 only flat right).
function dialValue(x, y, centre) {
    const a = dialAngle(x, y, centre);
    return a === 0 ? 0 : Math.floor(a / dialDegreesPerValue) + 1;
}

// Which dial picture shows a value.
function dialPicture(value) {
    return Math.max(0, Math.min(value, dialLastPicture));
}

// ---- Scroll field ---------------------------------------------------------------

// The "one screen at a time" option's value, and the field's range of lines.
const scrollScreen = 1000;
const scrollMin = 1;
const scrollMax = 100;

function clampLines(n) {
    return Math.min(Math.max(n, scrollMin), scrollMax);
}

// The field's text after a plus (delta 1) or minus (delta -1) button.
function scrollStep(text, delta) {
    const current = String(text).trim() === "" || isNaN(Number(text)) ? scrollMin : Number(text);
    return String(clampLines(current + delta));
}

// The field's text when it is left: an empty or too small entry becomes 1.
function scrollCommit(text) {
    const n = Number(text);
    if (String(text).trim() === "" || isNaN(n) || n < scrollMin)
        return String(scrollMin);
    if (n > scrollMax)
        return String(scrollMax);
    return String(Math.trunc(n));
}

// ---- Scroll bar of the right column ---------------------------------------------

// Height of the right column's visible part, in pixels.
const columnHeight = 563;

// Top of the scroll bar's handle from the list's visible-area position (0 to 1).
function scrollBarY(visibleAreaY) {
    return visibleAreaY * columnHeight;
}

// Length of the handle from the visible part's share of the list.
function scrollBarHeight(heightRatio) {
    return Math.min(1, heightRatio) * columnHeight;
}

// The list position after dragging the handle by dragDistance pixels:
// never above the top and never past the end.
function draggedContentY(startContentY, dragDistance, contentHeight, viewHeight) {
    const end = Math.max(0, contentHeight - viewHeight);
    return Math.min(Math.max(startContentY + dragDistance, 0), end);
}

// The window's strings from a language pack: each text the pack has replaces
// the built-in one; a text it lacks or leaves empty keeps the built-in one,
// so a short or damaged pack never leaves a control without a caption.
function mergeStrings(builtIn, translated) {
    const pack = translated || [];
    return builtIn.map((text, i) => typeof pack[i] === "string" && pack[i] !== "" ? pack[i] : text);
}
