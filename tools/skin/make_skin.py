#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws Quellar's window skin: every picture under modules/img/ as SVG.

Run from anywhere, with no arguments:

    python3 tools/skin/make_skin.py

It rewrites modules/img/background.svg and modules/img/skin1/<group>/*.svg
(standard library only). Commit the script and its output together.

Everything is drawn from a few shared shapes (three-state button frames, the
dialog body with its title band, the sunken well, the word mark as stroked
paths, the dial ticks, the rate circle quarters, the mouse outlines), so a colour or a measure changes in one place. Sizes are
logical pixels at 1x; edges sit on whole pixels (odd strokes on .5).
The pictures keep to what Qt's SVG renderer (SVG Tiny 1.2) draws: paths,
linear and radial gradients, opacity, text. Glows are stacked strokes.
"""

import math
import os
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
IMG = os.path.join(ROOT, "modules", "img")
SKIN = os.path.join(IMG, "skin1")

# ---------------------------------------------------------------- palette
WHITE = "#ffffff"
TEXT = "#e6e6e6"
SECONDARY = "#b3b3b3"
ORANGE = "#fa6726"
EMBER = "#4f1717"          # actionable at rest
EMBER_EDGE = "#4e3434"
EMBER_HOVER = "#761212"
EMBER_PRESSED = "#3a1010"
EMBER_HOVER_EDGE = "#6a3a3a"
GRAPHITE_LIGHT = "#3a3a3a"
GRAPHITE_MID = "#2b2b2b"
GRAPHITE_DARK = "#1c1c1c"

RATE_FONT = "WenQuanYi Micro Hei, Noto Sans, DejaVu Sans, sans-serif"

# Where the mouse pictures sit in the 1000 x 640 window.
TOP_ORIGIN = (350, 44)
SIDE_ORIGIN = (280, 176)
TOP_OVERLAYS = [(354, 80), (550, 80), (499, 175), (347, 236), (346, 297), (502, 244), (502, 273)]
SIDE_OVERLAYS = [(376, 213), (327, 210), (420, 303), (483, 324), (534, 315), (479, 203), (507, 202)]
GLOW = 3  # how far an overlay's glow reaches outside its button


# ---------------------------------------------------------------- output
def num(v):
    """A coordinate with at most two decimals and no trailing zeros."""
    s = f"{v:.2f}".rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


def svg(width, height, body, defs=""):
    head = (f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
            f'width="{width}" height="{height}" viewBox="0 0 {width} {height}">\n')
    if defs:
        head += f"<defs>\n{defs}</defs>\n"
    return head + body + "</svg>\n"


written = []


def write(rel, text):
    path = os.path.join(IMG, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)
    written.append(rel)


def attrs(**kw):
    out = []
    for k, v in kw.items():
        if v is None:
            continue
        out.append(f'{k.rstrip("_").replace("_", "-")}="{v}"')
    return " ".join(out)


def rect(x, y, w, h, r=0, **kw):
    rr = f' rx="{num(r)}" ry="{num(r)}"' if r else ""
    return f'<rect x="{num(x)}" y="{num(y)}" width="{num(w)}" height="{num(h)}"{rr} {attrs(**kw)}/>\n'


def circle(cx, cy, r, **kw):
    return f'<circle cx="{num(cx)}" cy="{num(cy)}" r="{num(r)}" {attrs(**kw)}/>\n'


def path(d, **kw):
    return f'<path d="{d}" {attrs(**kw)}/>\n'


def line_icon(d, width=1.5, colour=TEXT):
    return path(d, fill="none", stroke=colour, stroke_width=num(width),
                stroke_linecap="round", stroke_linejoin="round")


def linear(id_, x1, y1, x2, y2, stops, units=None):
    u = f' gradientUnits="{units}"' if units else ""
    s = "".join(f'<stop offset="{num(o)}" stop-color="{c}" stop-opacity="{num(a)}"/>' for o, c, a in stops)
    return (f'<linearGradient id="{id_}" x1="{num(x1)}" y1="{num(y1)}" x2="{num(x2)}" y2="{num(y2)}"{u}>'
            f"{s}</linearGradient>\n")


def radial(id_, cx, cy, r, stops, units=None):
    u = f' gradientUnits="{units}"' if units else ""
    s = "".join(f'<stop offset="{num(o)}" stop-color="{c}" stop-opacity="{num(a)}"/>' for o, c, a in stops)
    return f'<radialGradient id="{id_}" cx="{num(cx)}" cy="{num(cy)}" r="{num(r)}"{u}>{s}</radialGradient>\n'


# ---------------------------------------------------------------- polygons
def simplify(pts, tolerance=0.1):
    """Drops points that lie within `tolerance` px of the line through their neighbours (Douglas-Peucker)."""
    if len(pts) < 3:
        return list(pts)
    keep = [False] * len(pts)
    keep[0] = keep[-1] = True
    stack = [(0, len(pts) - 1)]
    while stack:
        i, j = stack.pop()
        (x1, y1), (x2, y2) = pts[i], pts[j]
        length = math.hypot(x2 - x1, y2 - y1) or 1e-9
        far, far_k = 0.0, -1
        for k in range(i + 1, j):
            dist = abs((x2 - x1) * (y1 - pts[k][1]) - (x1 - pts[k][0]) * (y2 - y1)) / length
            if dist > far:
                far, far_k = dist, k
        if far > tolerance:
            keep[far_k] = True
            stack += [(i, far_k), (far_k, j)]
    return [p for p, k in zip(pts, keep) if k]


def poly_d(pts, closed=True):
    if closed:
        # Split the ring at the point farthest from its start so both halves are open runs.
        far = max(range(len(pts)), key=lambda k: math.dist(pts[0], pts[k]))
        pts = simplify(pts[:far + 1])[:-1] + simplify(list(pts[far:]) + [pts[0]])[:-1]
    else:
        pts = simplify(pts)
    d = "M" + " L".join(f"{num(x)} {num(y)}" for x, y in pts)
    return d + ("Z" if closed else "")


def shift(pts, dx, dy):
    return [(x + dx, y + dy) for x, y in pts]


def bbox(pts):
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    return min(xs), min(ys), max(xs), max(ys)


def catmull_closed(keys):
    """A smooth closed curve through the key points, as a dense polygon."""
    out = []
    n = len(keys)
    for i in range(n):
        p0, p1, p2, p3 = keys[i - 1], keys[i], keys[(i + 1) % n], keys[(i + 2) % n]
        seg = math.dist(p1, p2)
        steps = max(2, int(seg / 2.0))
        for s in range(steps):
            t = s / steps
            t2, t3 = t * t, t * t * t
            out.append(tuple(0.5 * ((2 * p1[k]) + (-p0[k] + p2[k]) * t
                                    + (2 * p0[k] - 5 * p1[k] + 4 * p2[k] - p3[k]) * t2
                                    + (-p0[k] + 3 * p1[k] - 3 * p2[k] + p3[k]) * t3) for k in range(2)))
    return out


def mirrored_outline(cx, right_half):
    """Right half from top centre to bottom centre, mirrored to a closed symmetric outline."""
    left = [(2 * cx - x, y) for x, y in reversed(right_half[1:-1])]
    return catmull_closed(right_half + left)


def clip(pts, a, b, c):
    """Keeps the part of a polygon where a*x + b*y <= c (Sutherland-Hodgman)."""
    out = []
    n = len(pts)
    for i in range(n):
        p, q = pts[i], pts[(i + 1) % n]
        fp = a * p[0] + b * p[1] - c
        fq = a * q[0] + b * q[1] - c
        if fp <= 0:
            out.append(p)
        if (fp < 0 < fq) or (fq < 0 < fp):
            t = fp / (fp - fq)
            out.append((p[0] + t * (q[0] - p[0]), p[1] + t * (q[1] - p[1])))
    return out


def clip_line(pts, p1, p2):
    """Keeps the part of a polygon left of the directed line p1 -> p2 (screen coordinates)."""
    dx, dy = p2[0] - p1[0], p2[1] - p1[1]
    # On screen (y down) "left" of a rightward line is above it: cross product <= 0.
    return clip(pts, -dy, dx, -dy * p1[0] + dx * p1[1])


def rounded_rect_poly(x, y, w, h, r, per=6):
    pts = []
    corners = [(x + w - r, y + r, -90), (x + w - r, y + h - r, 0), (x + r, y + h - r, 90), (x + r, y + r, 180)]
    for cx, cy, start in corners:
        for i in range(per + 1):
            a = math.radians(start + 90 * i / per)
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def capsule_along(centre_fn, y0, y1, half, steps=40, exponent=4.0):
    """A pad lying along a curve x = centre_fn(y): super-elliptic ends, `half` thick each side."""
    left, right = [], []
    for i in range(steps + 1):
        y = y0 + (y1 - y0) * i / steps
        u = (2 * i / steps) - 1
        t = half * (max(0.0, 1 - abs(u) ** exponent)) ** (1 / exponent)
        x = centre_fn(y)
        left.append((x - t, y))
        right.append((x + t, y))
    return left + list(reversed(right))


def rotated_capsule(cx, cy, length, thick, angle_deg, per=8):
    r = thick / 2
    base = rounded_rect_poly(-length / 2, -r, length, thick, r, per)
    a = math.radians(angle_deg)
    ca, sa = math.cos(a), math.sin(a)
    return [(cx + x * ca - y * sa, cy + x * sa + y * ca) for x, y in base]


def x_on_edge(pts, y, left=True):
    """The x where a closed outline crosses height y, on its left or right side."""
    hits = []
    n = len(pts)
    for i in range(n):
        (x1, y1), (x2, y2) = pts[i], pts[(i + 1) % n]
        if (y1 - y) * (y2 - y) <= 0 and y1 != y2:
            hits.append(x1 + (y - y1) * (x2 - x1) / (y2 - y1))
    return min(hits) if left else max(hits)


def y_on_edge(pts, x, top=True):
    hits = []
    n = len(pts)
    for i in range(n):
        (x1, y1), (x2, y2) = pts[i], pts[(i + 1) % n]
        if (x1 - x) * (x2 - x) <= 0 and x1 != x2:
            hits.append(y1 + (x - x1) * (y2 - y1) / (x2 - x1))
    return min(hits) if top else max(hits)


# ---------------------------------------------------------------- shared pieces
def button_frame(w, h, state, fill=None, radius=3, edge=None):
    """The ember button frame in its three states: rest, hover (a step lighter),
    pressed (a step darker, with a 1 px inset shadow along the top and left)."""
    fills = {"rest": EMBER, "hover": EMBER_HOVER, "pressed": EMBER_PRESSED}
    edges = {"rest": EMBER_EDGE, "hover": EMBER_HOVER_EDGE, "pressed": EMBER_EDGE}
    body = rect(0.5, 0.5, w - 1, h - 1, radius, fill=fill or fills[state], stroke=edge or edges[state])
    if state == "pressed":
        body += inset_shadow(w, h, radius)
    elif state == "hover":
        body += path(f"M{num(1 + radius)} 1.5 H{num(w - 1 - radius)}", fill="none",
                     stroke="#ffffff", stroke_opacity="0.08")
    else:
        body += path(f"M{num(1 + radius)} 1.5 H{num(w - 1 - radius)}", fill="none",
                     stroke="#ffffff", stroke_opacity="0.05")
    return body


def inset_shadow(w, h, radius=3):
    """The pressed look: a 1 px dark line along the top and left edges, inside the border."""
    r = radius - 0.5
    return path(f"M1.5 {num(h - 2)} V{num(1.5 + r)} Q1.5 1.5 {num(1.5 + r)} 1.5 H{num(w - 2)}",
                fill="none", stroke="#000000", stroke_opacity="0.45")


def bare_frame(w, h, state):
    """A frame that only shows under the pointer: nothing at rest, the ember hover fill, the pressed look."""
    if state == "rest":
        return ""
    if state == "hover":
        return rect(0.5, 0.5, w - 1, h - 1, 3, fill=EMBER_HOVER, stroke=EMBER_HOVER_EDGE)
    return rect(0.5, 0.5, w - 1, h - 1, 3, fill=EMBER_PRESSED, stroke=EMBER_EDGE) + inset_shadow(w, h)


STATES = [("rest", ""), ("hover", "_hover"), ("pressed", "_pressed")]


def three_states(group, name, w, h, icon, frame=button_frame):
    for state, suffix in STATES:
        write(f"skin1/{group}/{name}{suffix}.svg", svg(w, h, frame(w, h, state) + icon))


def shade(colour, step):
    """A grey or colour moved `step` units lighter (positive) or darker on each channel."""
    rgb = [max(0, min(255, int(colour[i:i + 2], 16) + step)) for i in (1, 3, 5)]
    return "#" + "".join(f"{c:02x}" for c in rgb)


TITLE_BAND = 30        # height of the title band QML writes its title into
TITLE_BAND_FILL = "#1e1e1e"
DIALOG_EDGE = "#3a3a3a"


def dialog_panel(w, h, fill, band=False, gradient_id="dlg"):
    """A dialog or page body: `fill` as a soft top-to-bottom gradient around it, radius 6, a 1 px
    edge, a faint shadow line along the bottom; with `band`, a title band across the top 30 px."""
    defs = linear(gradient_id, 0, 0, 0, 1, [(0, shade(fill, 4), 1), (1, shade(fill, -4), 1)])
    body = rect(0.5, 0.5, w - 1, h - 1, 6, fill=f"url(#{gradient_id})", stroke=DIALOG_EDGE)
    if band:
        # The band fills the inside of the edge's rounded top corners and ends on a 1 px rule.
        r = 5.5
        body += path(f"M1 {TITLE_BAND} V{num(1 + r)} A{r} {r} 0 0 1 {num(1 + r)} 1 H{num(w - 1 - r)} "
                     f"A{r} {r} 0 0 1 {w - 1} {num(1 + r)} V{TITLE_BAND}Z", fill=TITLE_BAND_FILL)
        body += path(f"M1 {TITLE_BAND + 0.5} H{w - 1}", fill="none", stroke="#141414")
        body += path(f"M1 {TITLE_BAND + 1.5} H{w - 1}", fill="none", stroke="#ffffff", stroke_opacity="0.03")
    body += path(f"M6 {num(h - 1.5)} H{w - 6}", fill="none", stroke="#000000", stroke_opacity="0.25")
    return defs, body


def well(x0, y0, x1, y1, radius=3):
    """A sunken area covering the pixels x0..x1-1, y0..y1-1: dark fill, 1 px edge."""
    return rect(x0 + 0.5, y0 + 0.5, x1 - x0 - 1, y1 - y0 - 1, radius, fill="#141414", stroke="#2a2a2a")


# ---------------------------------------------------------------- word mark
def glyph_strokes(ch, x, y, w, h):
    """Stroke paths of one geometric capital (or digit) in the box x..x+w, y..y+h."""
    r = w / 2
    mid = y + h / 2
    X, Y, R, B = x, y, x + w, y + h
    if ch == "Q":
        return [f"M{num(X + r)} {num(Y)} A{num(r)} {num(r)} 0 0 1 {num(R)} {num(Y + r)} V{num(B - r)} "
                f"A{num(r)} {num(r)} 0 0 1 {num(X + r)} {num(B)} A{num(r)} {num(r)} 0 0 1 {num(X)} {num(B - r)} "
                f"V{num(Y + r)} A{num(r)} {num(r)} 0 0 1 {num(X + r)} {num(Y)}Z",
                f"M{num(X + w * 0.62)} {num(B - h * 0.22)} L{num(R + w * 0.12)} {num(B + h * 0.1)}"]
    if ch == "U":
        return [f"M{num(X)} {num(Y)} V{num(B - r)} A{num(r)} {num(r)} 0 0 0 {num(R)} {num(B - r)} V{num(Y)}"]
    if ch == "E":
        return [f"M{num(R)} {num(Y)} H{num(X)} V{num(B)} H{num(R)}", f"M{num(X)} {num(mid)} H{num(X + w * 0.78)}"]
    if ch == "L":
        return [f"M{num(X)} {num(Y)} V{num(B)} H{num(R)}"]
    if ch == "A":
        apex = w * 0.07
        return [f"M{num(X)} {num(B)} L{num(X + r - apex)} {num(Y)} H{num(X + r + apex)} L{num(R)} {num(B)}",
                f"M{num(X + w * 0.24)} {num(Y + h * 0.66)} H{num(R - w * 0.24)}"]
    if ch == "R":
        br = h * 0.26
        return [f"M{num(X)} {num(B)} V{num(Y)} H{num(R - br)} A{num(br)} {num(br)} 0 0 1 {num(R)} {num(Y + br)} "
                f"V{num(mid - br)} A{num(br)} {num(br)} 0 0 1 {num(R - br)} {num(mid)} H{num(X)}",
                f"M{num(X + w * 0.5)} {num(mid)} L{num(R)} {num(B)}"]
    if ch == "K":
        return [f"M{num(X)} {num(Y)} V{num(B)}", f"M{num(R)} {num(Y)} L{num(X)} {num(Y + h * 0.58)}",
                f"M{num(X + w * 0.36)} {num(Y + h * 0.42)} L{num(R)} {num(B)}"]
    if ch == "4":
        return [f"M{num(X + w * 0.72)} {num(B)} V{num(Y)} L{num(X)} {num(Y + h * 0.68)} H{num(R)}"]
    if ch == "1":
        return [f"M{num(X + w * 0.2)} {num(Y + h * 0.2)} L{num(X + w * 0.6)} {num(Y)} V{num(B)}"]
    if ch == "7":
        return [f"M{num(X)} {num(Y)} H{num(R)} L{num(X + w * 0.35)} {num(B)}"]
    raise ValueError(ch)


def word(text, x, y, h, w, gap, stroke, colour, widths=None):
    """A word as stroked geometric paths, left edge x, cap top y; returns (svg, right edge)."""
    out = []
    cx = x + stroke / 2
    for ch in text:
        gw = (widths or {}).get(ch, w)
        for d in glyph_strokes(ch, cx, y + stroke / 2, gw - stroke, h - stroke):
            out.append(d)
        cx += gw + gap
    d = " ".join(out)
    return (path(d, fill="none", stroke=colour, stroke_width=num(stroke), stroke_linecap="square",
                 stroke_linejoin="miter"), cx - gap - stroke / 2)


MARK_WIDTHS = {"L": 0.82, "E": 0.86}


def word_mark(x, y, scale):
    """QUELLAR, white and letter-spaced, with its orange underline. Returns (svg, width)."""
    # At 1x a 21 px cap height and whole-pixel widths put every 3 px stroke on the pixel grid.
    h, w, gap, stroke = 21 * scale, 18 * scale, 12 * scale, 3 * scale
    widths = {k: round(w * v) for k, v in MARK_WIDTHS.items()}
    letters, right = word("QUELLAR", x, y, h, w, gap, stroke, WHITE, widths)
    width = right - x
    uy = y + h + 8 * scale
    under = rect(x, uy, width, 2 * scale, fill=ORANGE)
    return letters + under, width


# ---------------------------------------------------------------- background
def background_layers(w, h):
    defs = radial("bg", 0.5, 0.45, 0.75, [(0, "#262626", 1), (0.55, "#1a1a1a", 1), (1, "#0d0d0d", 1)])
    # A faint diamond lattice; its lines meet on a 32 px grid.
    step = 32
    segs = []
    for k in range(-h // step - 1, w // step + h // step + 2):
        x0 = k * step
        segs.append(f"M{x0} 0 L{x0 + h} {h}")
        segs.append(f"M{x0} {h} L{x0 + h} 0")
    body = rect(0, 0, w, h, 6, fill="url(#bg)")
    body += path(" ".join(segs), fill="none", stroke="#ffffff", stroke_opacity="0.022", stroke_width="1")
    # Darken the lattice towards the edges again so it only lives in the middle.
    defs += radial("vignette", 0.5, 0.45, 0.72, [(0, "#0d0d0d", 0), (0.7, "#0d0d0d", 0), (1, "#0d0d0d", 0.85)])
    body += rect(0, 0, w, h, 6, fill="url(#vignette)")
    # The window's thin frame.
    body += rect(0.5, 0.5, w - 1, h - 1, 5.5, fill="none", stroke="#2e2e2e")
    return defs, body


def make_background():
    defs, body = background_layers(1000, 640)
    write("background.svg", svg(1000, 640, body, defs))


def make_splash():
    defs, body = background_layers(1000, 640)
    scale = 1.9
    _, mark_w = word_mark(0, 0, scale)
    kh, kw, kgap, ks = 10, 8, 8, 1.5
    _, k_w = word("K417", 0, 0, kh, kw, kgap, ks, SECONDARY)
    k_gap = 24                                   # underline to K417
    block = 21 * scale + 8 * scale + 2 * scale + k_gap + kh
    x = round((1000 - mark_w) / 2)
    # The block ends 30 px above the centre, where the busy text shows while
    # the splash is up.
    y = round(290 - block)
    mark, _ = word_mark(x, y, scale)
    body += mark
    # "K417" small and quiet beneath, centred under the mark.
    kword, _ = word("K417", round(500 - k_w / 2), y + 31 * scale + k_gap, kh, kw, kgap, ks, "#8a8a8a")
    body += kword
    write("skin1/index/powerOn.svg", svg(1000, 640, body, defs))


def make_logo():
    mark, _ = word_mark(2, 14, 1.0)
    write("skin1/index/mainLogo.svg", svg(242, 56, mark))


# ---------------------------------------------------------------- index buttons
def title_frame(w, h, state):
    fills = {"rest": "#1f1f1f", "hover": EMBER, "pressed": EMBER_PRESSED}
    edges = {"rest": "#2e2e2e", "hover": EMBER_EDGE, "pressed": EMBER_EDGE}
    body = rect(0.5, 0.5, w - 1, h - 1, 3, fill=fills[state], stroke=edges[state])
    if state == "pressed":
        body += path(f"M1.5 {h - 2} V4 Q1.5 1.5 4 1.5 H{w - 2}", fill="none", stroke="#000000",
                     stroke_opacity="0.45")
    return body


def make_index_buttons():
    ask = line_icon("M8.6 8.9 C8.6 7.3 9.7 6.4 11 6.4 C12.4 6.4 13.4 7.3 13.4 8.6 C13.4 10.4 11 10.6 11 12.6")
    ask += circle(11, 15.6, 0.95, fill=TEXT)
    three_states("index", "askBtn", 22, 22, ask, title_frame)
    # The minimise button (its file name is historical): a dash.
    three_states("index", "closeBtn", 22, 22, line_icon("M7 11.5 H15"), title_frame)
    # The close button: a cross.
    three_states("index", "minBtn", 22, 22, line_icon("M7.5 7.5 L14.5 14.5 M14.5 7.5 L7.5 14.5"), title_frame)

    # Reset: an arrow turning back on itself, in x 6..18, centred on the 28 px height.
    cx, cy, r = 12, 14, 4.75
    end = math.radians(-90 + 295)
    ex, ey = cx + r * math.cos(end), cy + r * math.sin(end)
    reset = line_icon(f"M{cx} {num(cy - r)} A{r} {r} 0 1 1 {num(ex)} {num(ey)}")
    reset += line_icon(f"M{num(cx + 2.1)} {num(cy - r - 2.1)} L{cx} {num(cy - r)} L{num(cx + 2.1)} {num(cy - r + 2.1)}")
    three_states("index", "resetBtn", 78, 28, reset)

    # Profile: two stacked cards in x 8..22, centred on the 30 px height.
    cards = rect(11.75, 11.75, 9.5, 8.5, 1.5, fill="none", stroke=TEXT, stroke_width="1.5")
    cards += line_icon("M8.75 16.75 V10.25 Q8.75 8.75 10.25 8.75 H17.25")
    three_states("index", "profileBtn", 120, 30, cards)

    write("skin1/index/scrollBar.svg",
          svg(8, 563, rect(0.5, 0.5, 7, 562, 3.5, fill="#141414", stroke="#2a2a2a")))

    defs, body = dialog_panel(320, 160, "#202020")
    write("skin1/index/dialog.svg", svg(320, 160, body, defs))


# ---------------------------------------------------------------- common controls
def make_common():
    shade = circle(8, 8.6, 6.5, fill="#000000", fill_opacity="0.35")
    write("skin1/common/knob.svg", svg(16, 16, shade + circle(8, 8, 6, fill=TEXT)))
    write("skin1/common/knob_hover.svg", svg(16, 16, shade + circle(8, 8, 6, fill=WHITE)))
    write("skin1/common/knob_pressed.svg",
          svg(16, 16, circle(8, 8, 6, fill=TEXT) + circle(8, 8, 7, fill="none", stroke=ORANGE, stroke_width="2")))

    write("skin1/common/toggle_off.svg", svg(14, 14, rect(0.5, 0.5, 13, 13, 3, fill="#1f1f1f", stroke="#626262")))
    tick = line_icon("M3.8 7.2 L6 9.4 L10.3 4.8", 1.5, WHITE)
    write("skin1/common/toggle_on.svg",
          svg(14, 14, rect(0.5, 0.5, 13, 13, 3, fill=EMBER_HOVER, stroke=ORANGE) + tick))

    write("skin1/common/radio_off.svg", svg(14, 14, circle(7, 7, 6.5, fill="#1f1f1f", stroke="#626262")))
    write("skin1/common/radio_on.svg",
          svg(14, 14, circle(7, 7, 6.5, fill="#1f1f1f", stroke=ORANGE) + circle(7, 7, 3, fill=ORANGE)))

    # 2 px strokes centred on the 18 px box stay on whole pixels.
    three_states("common", "plus", 18, 18, path("M9 5 V13 M5 9 H13", stroke=TEXT, stroke_width="2"))
    three_states("common", "minus", 18, 18, path("M5 9 H13", stroke=TEXT, stroke_width="2"))

    hue = [(i / 6, c, 1) for i, c in enumerate(
        ["#ff0000", "#ffff00", "#00ff00", "#00ffff", "#0000ff", "#ff00ff", "#ff0000"])]
    write("skin1/colorBar/hue.svg",
          svg(128, 10, rect(0, 0, 128, 10, 2, fill="url(#hue)")
              + rect(0.5, 0.5, 127, 9, 1.5, fill="none", stroke="#000000", stroke_opacity="0.35"),
              linear("hue", 0, 0, 1, 0, hue)))
    marker = rect(0.5, 0.5, 5, 13, 2, fill="none", stroke="#000000", stroke_opacity="0.7")
    marker += rect(1.75, 1.75, 2.5, 10.5, 1, fill="none", stroke=WHITE, stroke_width="1.5")
    write("skin1/colorBar/marker.svg", svg(6, 14, marker))


# ---------------------------------------------------------------- report rate
RATE_CAPTIONS = {
    "en": ["1000", "500", "250", "125"],
    "cn": ["1000", "500", "250", "125"],
}
RATE_UNITS = {"en": "Hz", "cn": "赫兹"}
# Quarter order: 1 top right, 2 bottom right, 4 bottom left, 8 top left.
QUARTERS = [(1, 1, -1), (2, 1, 1), (4, -1, 1), (8, -1, -1)]


def quarter_path(cx, cy, r, sx, sy, half_gap):
    """One quarter of a disc, pulled half_gap away from both axes."""
    inner_x = cx + sx * half_gap
    inner_y = cy + sy * half_gap
    off = math.sqrt(r * r - half_gap * half_gap)
    p1 = (inner_x, cy + sy * off)          # on the circle near the vertical axis
    p2 = (cx + sx * off, inner_y)          # on the circle near the horizontal axis
    sweep = 1 if sx * sy < 0 else 0
    return (f"M{num(inner_x)} {num(inner_y)} L{num(p1[0])} {num(p1[1])} "
            f"A{num(r)} {num(r)} 0 0 {sweep} {num(p2[0])} {num(p2[1])}Z")


def make_rate():
    cx = cy = 62
    for lang in ("en", "cn"):
        for chosen, _, _ in QUARTERS:
            body = circle(cx, cy, 61, fill="#000000", fill_opacity="0.3")
            for (value, sx, sy), caption in zip(QUARTERS, RATE_CAPTIONS[lang]):
                on = value == chosen
                d = quarter_path(cx, cy, 59, sx, sy, 1.6)
                if on:
                    body += path(d, fill=EMBER_HOVER, stroke=ORANGE, stroke_width="1.5", stroke_linejoin="round")
                else:
                    body += path(d, fill="#262626", stroke="#3a3a3a", stroke_width="1", stroke_linejoin="round")
                colour = WHITE if on else SECONDARY
                tx, ty = cx + sx * 29, cy + sy * 27
                weight = "bold" if on else "normal"
                body += (f'<text x="{num(tx)}" y="{num(ty - 2)}" font-family="{RATE_FONT}" font-size="11" '
                         f'font-weight="{weight}" fill="{colour}" text-anchor="middle">{caption}</text>\n')
                body += (f'<text x="{num(tx)}" y="{num(ty + 11)}" font-family="{RATE_FONT}" font-size="11" '
                         f'fill="{colour}" fill-opacity="{"0.85" if on else "0.8"}" text-anchor="middle">'
                         f"{RATE_UNITS[lang]}</text>\n")
            body += circle(cx, cy, 14, fill="#1a1a1a", stroke="#3a3a3a", stroke_width="1")
            body += circle(cx, cy, 3, fill="#3a3a3a")
            write(f"skin1/mouseRate/rate_{chosen}_{lang}.svg", svg(124, 124, body))


# ---------------------------------------------------------------- half-dials
def make_dials():
    px, py = 80, 70
    for n in range(11):
        body = ""
        # A faint track, and its lit part up to the needle.
        tr = 52
        body += path(f"M{px - tr} {py} A{tr} {tr} 0 0 1 {px + tr} {py}", fill="none", stroke="#2a2a2a",
                     stroke_width="2")
        a = math.radians(180 - n * 18)
        if n > 0:
            ex, ey = px + tr * math.cos(a), py - tr * math.sin(a)
            body += path(f"M{px - tr} {py} A{tr} {tr} 0 0 1 {num(ex)} {num(ey)}", fill="none",
                         stroke=EMBER_HOVER, stroke_width="2")
        for k in range(11):
            ak = math.radians(180 - k * 18)
            r0, r1 = (57, 67) if k in (0, 5, 10) else (59, 66)
            x0, y0 = px + r0 * math.cos(ak), py - r0 * math.sin(ak)
            x1, y1 = px + r1 * math.cos(ak), py - r1 * math.sin(ak)
            lit = k <= n
            d = f"M{num(x0)} {num(y0)} L{num(x1)} {num(y1)}"
            if lit:
                body += path(d, stroke=ORANGE, stroke_opacity="0.22", stroke_width="5", stroke_linecap="round")
            body += path(d, stroke=ORANGE if lit else "#4a4a4a", stroke_width="2", stroke_linecap="round")
        nx, ny = px + 50 * math.cos(a), py - 50 * math.sin(a)
        body += path(f"M{px} {py} L{num(nx)} {num(ny)}", stroke=WHITE, stroke_width="1.5", stroke_linecap="round")
        body += circle(px, py, 4, fill=TEXT)
        body += circle(px, py, 1.5, fill="#1a1a1a")
        write(f"skin1/mouseSpeed/dial_{n}.svg", svg(160, 84, body))


# ---------------------------------------------------------------- the mouse
def overlay_files(prefix, index, shape, pos):
    """Writes <prefix>_<index>.svg and its _on partner for a button shape given in window coordinates."""
    x0, y0, x1, y1 = bbox(shape)
    if x0 - GLOW < pos[0] - 0.01 or y0 - GLOW < pos[1] - 0.01:
        sys.exit(f"{prefix}_{index}: button at ({x0:.1f}, {y0:.1f}) leaves no room for its glow at {pos}")
    w = math.ceil(x1 + GLOW) - pos[0]
    h = math.ceil(y1 + GLOW) - pos[1]
    d = poly_d(shift(shape, -pos[0], -pos[1]))
    rest = path(d, fill="none", stroke=WHITE, stroke_opacity="0.1", stroke_width="1", stroke_linejoin="round")
    on = ""
    for width, opacity in ((6, 0.16), (4, 0.24), (2, 0.4)):
        on += path(d, fill="none", stroke=ORANGE, stroke_opacity=num(opacity), stroke_width=str(width),
                   stroke_linejoin="round")
    on += path(d, fill=ORANGE, fill_opacity="0.35", stroke=ORANGE, stroke_opacity="0.6", stroke_width="1",
               stroke_linejoin="round")
    write(f"skin1/mouse/{prefix}_{index}.svg", svg(w, h, rest))
    write(f"skin1/mouse/{prefix}_{index}_on.svg", svg(w, h, on))


def soft_shadow(d, spread=((10, 0.05), (6, 0.07), (3, 0.1))):
    out = ""
    for width, opacity in spread:
        out += path(d, fill="none", stroke="#000000", stroke_opacity=num(opacity), stroke_width=str(width),
                    stroke_linejoin="round")
    return out + path(d, fill="#000000", fill_opacity="0.35")


SEAM = "#111111"

# Top view, in window coordinates. The body is symmetric about AXIS, a little
# right of the picture's middle, so the narrow wheel and the DPI pads behind it
# fall on the fixed overlay positions.
AXIS = 510


def top_geometry():
    c = AXIS
    outline = mirrored_outline(c, [
        (c, 70), (c + 50, 73), (c + 92, 83), (c + 116, 106), (c + 125, 150), (c + 126, 205),
        (c + 125, 262), (c + 128, 318), (c + 134, 378), (c + 133, 430), (c + 121, 470), (c + 89, 497),
        (c + 45, 507), (c, 509)])
    shell = mirrored_outline(c, [
        (c, 81), (c + 48, 83.5), (c + 87, 92), (c + 109, 112), (c + 118, 150), (c + 119, 205),
        (c + 118, 262), (c + 121, 318), (c + 127, 376), (c + 126, 427), (c + 115, 464), (c + 85, 489),
        (c + 43, 499), (c, 501)])
    inner = 43          # half the spine's width between the main buttons
    rear_in, rear_out = 262, 292
    right = clip(shell, -1, 0, -(c + inner + 1))                       # x >= c + inner + 1
    right = clip_line(right, (c + inner, rear_in), (c + 140, rear_out))   # rear edge
    left = [(2 * c - x, y) for x, y in right]
    wheel = rounded_rect_poly(c - 7, 178, 14, 54, 6)
    dpi_up = rounded_rect_poly(c - 5, 247, 10, 22, 5)
    dpi_down = rounded_rect_poly(c - 5, 276, 10, 22, 5)

    def flank(y):
        return x_on_edge(outline, y, left=True) + 0.5

    thumb_front = capsule_along(flank, 241, 292, 6.5)
    thumb_back = capsule_along(flank, 300, 351, 6.5)
    spine = clip(clip(shell, 1, 0, c + inner + 1), -1, 0, -(c - inner - 1))
    spine = clip_line(spine, (c - inner - 2, 300), (c, 338))
    spine = clip_line(spine, (c, 338), (c + inner + 2, 300))
    return dict(outline=outline, shell=shell, spine=spine, buttons=[left, right, wheel, thumb_front, thumb_back, dpi_up,
                                                       dpi_down], inner=inner)


def make_top():
    g = top_geometry()
    ox, oy = TOP_ORIGIN
    c = AXIS - ox

    def d(pts):
        return poly_d(shift(pts, -ox, -oy))

    defs = ""
    defs += linear("skirt", 0, 0, 1, 0, [(0, "#161616", 1), (0.5, GRAPHITE_DARK, 1), (1, "#161616", 1)])
    defs += linear("shell", 0, 0, 0, 1, [(0, GRAPHITE_MID, 1), (0.6, "#292929", 1), (1, "#232323", 1)])
    defs += linear("btnL", 0, 0, 1, 0, [(0, "#2f2f2f", 1), (1, GRAPHITE_LIGHT, 1)])
    defs += linear("btnR", 0, 0, 1, 0, [(0, GRAPHITE_LIGHT, 1), (1, "#2f2f2f", 1)])
    defs += linear("channel", 0, 0, 0, 1, [(0, "#232323", 1), (1, "#262626", 1)])
    defs += radial("spine", 0.5, 0.42, 0.5, [(0, "#ffffff", 0.07), (0.5, "#ffffff", 0.035), (1, "#ffffff", 0)])
    defs += linear("wheel", 0, 0, 0, 1, [(0, "#262626", 1), (0.5, "#4a4a4a", 1), (1, "#262626", 1)])
    defs += linear("pad", 0, 0, 0, 1, [(0, "#444444", 1), (1, "#333333", 1)])
    defs += linear("thumb", 0, 0, 1, 0, [(0, "#2a2a2a", 1), (1, GRAPHITE_LIGHT, 1)])

    body = ""
    body += soft_shadow(d(shift(g["outline"], 0, 4)))
    body += path(d(g["outline"]), fill="url(#skirt)", stroke="#3c3c3c", stroke_width="1", stroke_linejoin="round")
    body += path(d(g["shell"]), fill="url(#shell)", stroke=SEAM, stroke_width="1.25", stroke_linejoin="round")
    body += path(d(g["spine"]), fill="url(#channel)", stroke=SEAM, stroke_width="1.25", stroke_linejoin="round")
    # The spine's soft highlight runs from the buttons' front to the palm.
    body += f'<ellipse cx="{num(c)}" cy="285" rx="40" ry="205" fill="url(#spine)"/>\n'
    left, right, wheel, thumb_f, thumb_b, dpi_up, dpi_down = g["buttons"]
    body += path(d(left), fill="url(#btnL)", stroke=SEAM, stroke_width="1.5", stroke_linejoin="round")
    body += path(d(right), fill="url(#btnR)", stroke=SEAM, stroke_width="1.5", stroke_linejoin="round")
    # A faint catch of light along the buttons' inner edges.
    for pts, sign in ((left, -1), (right, 1)):
        x_in = AXIS + sign * (g["inner"] + 2.5) - ox
        y0 = min(p[1] for p in pts) - oy + 6
        y1 = max(p[1] for p in pts if abs(p[0] - (AXIS + sign * (g['inner'] + 1))) < 1.5) - oy - 6
        body += path(f"M{num(x_in)} {num(y0)} V{num(y1)}", stroke="#ffffff", stroke_opacity="0.06")
    # Wheel in its recess, with ribs.
    wx = AXIS - ox
    body += rect(wx - 10.5, 172.5 - oy, 21, 66, 9, fill="#0d0d0d", stroke=SEAM)
    body += path(d(wheel), fill="url(#wheel)", stroke="#0d0d0d", stroke_width="1")
    ribs = " ".join(f"M{num(wx - 6)} {num(y - oy)} H{num(wx + 6)}" for y in range(183, 230, 4))
    body += path(ribs, stroke="#000000", stroke_opacity="0.35", stroke_width="1")
    # DPI pads behind the wheel.
    body += rect(wx - 8.5, 243.5 - oy, 17, 58, 8, fill="#151515", stroke=SEAM)
    for pad in (dpi_up, dpi_down):
        body += path(d(pad), fill="url(#pad)", stroke="#0d0d0d", stroke_width="1")
    # Thumb buttons on the left flank.
    for pad in (thumb_f, thumb_b):
        body += path(d(pad), fill="url(#thumb)", stroke=SEAM, stroke_width="1.25", stroke_linejoin="round")
    # A quiet engraved chevron on the palm.
    body += path(f"M{num(wx - 16)} {num(430 - oy)} L{num(wx)} {num(442 - oy)} L{num(wx + 16)} {num(430 - oy)}",
                 fill="none", stroke="#141414", stroke_width="2", stroke_linecap="round", stroke_linejoin="round")
    body += path(f"M{num(wx - 16)} {num(431 - oy)} L{num(wx)} {num(443 - oy)} L{num(wx + 16)} {num(431 - oy)}",
                 fill="none", stroke="#ffffff", stroke_opacity="0.05", stroke_width="1", stroke_linecap="round")
    write("skin1/mouse/top.svg", svg(300, 470, body, defs))
    for i, shape in enumerate(g["buttons"]):
        overlay_files("top", i, shape, TOP_OVERLAYS[i])


def side_geometry():
    """The side view (front to the left), in window coordinates."""
    outline = catmull_closed([
        (336, 360), (320, 352), (313, 336), (313, 312), (318, 292), (330, 276), (350, 262), (400, 240),
        (450, 222), (500, 210), (550, 203), (595, 201), (638, 208), (675, 226), (699, 258), (708, 298),
        (705, 334), (694, 354), (676, 361), (600, 362), (450, 362)])

    def top_y(x):
        return y_on_edge(outline, x, top=True)

    def band(x):
        """Thickness of the top surface seen slightly from above; it thins out at both ends."""
        return 9 * min(1.0, (x - 331) / 24, (700 - x) / 70) ** 0.5

    def band_poly(x0, x1, inset_top):
        upper = [(x, top_y(x) + inset_top) for x in frange(x0, x1, 2)]
        lower = [(x, top_y(x) + max(inset_top + 0.5, band(x))) for x in frange(x1, x0, -2)]
        return upper + lower

    far_button = band_poly(334, 470, 2.2)

    def near_top(x):
        return top_y(x) + band(x) + 2.5

    def near_height(x):
        return 21 - (x - 380) * 0.1

    near_button = capsule_along_x(lambda x: near_top(x) + near_height(x) / 2,
                                  lambda x: near_height(x) / 2, 380, 470, exponent=2.6)
    wheel = rounded_rect_poly(424, 307, 32, 13, 6.5)
    thumb_front = rotated_capsule(510, 338, 44, 15, -9)
    thumb_back = rotated_capsule(562, 329, 46, 15, -9)

    def pad(x0):
        slope = (top_y(x0 + 17) - top_y(x0)) / 17
        return rotated_capsule(x0 + 8.5, top_y(x0 + 8.5) + 5, 17, 5.5, math.degrees(math.atan(slope)))

    grip = catmull_closed([
        (328, 338), (346, 318), (400, 305), (470, 298), (560, 294), (630, 292), (672, 300), (693, 322),
        (690, 342), (676, 354), (600, 356.5), (400, 356.5), (336, 353)])
    return dict(outline=outline, band_poly=band_poly, top_y=top_y, grip=grip,
                buttons=[near_button, far_button, wheel, thumb_front, thumb_back, pad(484), pad(512)])


def capsule_along_x(centre_fn, half_fn, x0, x1, steps=45, exponent=4.0):
    """A pad lying along a curve y = centre_fn(x), half_fn(x) thick each side, super-elliptic ends."""
    top, bottom = [], []
    for i in range(steps + 1):
        x = x0 + (x1 - x0) * i / steps
        u = (2 * i / steps) - 1
        t = half_fn(x) * (max(0.0, 1 - abs(u) ** exponent)) ** (1 / exponent)
        top.append((x, centre_fn(x) - t))
        bottom.append((x, centre_fn(x) + t))
    return top + list(reversed(bottom))


def frange(a, b, step):
    out = []
    v = a
    if step > 0:
        while v < b:
            out.append(v)
            v += step
    else:
        while v > b:
            out.append(v)
            v += step
    out.append(b)
    return out


def make_side():
    g = side_geometry()
    ox, oy = SIDE_ORIGIN

    def d(pts):
        return poly_d(shift(pts, -ox, -oy))

    outline = g["outline"]
    top_y = g["top_y"]
    defs = ""
    defs += linear("flank", 0, 0, 0, 1, [(0, GRAPHITE_MID, 1), (0.6, "#272727", 1), (1, "#222222", 1)])
    defs += linear("topband", 0, 0, 1, 0, [(0, GRAPHITE_LIGHT, 1), (0.55, "#373737", 1), (1, GRAPHITE_MID, 1)])
    defs += linear("btn", 0, 0, 0, 1, [(0, GRAPHITE_LIGHT, 1), (1, "#303030", 1)])
    defs += linear("grip", 0, 0, 0, 1, [(0, "#1f1f1f", 1), (1, "#191919", 1)])
    defs += linear("wheel", 0, 0, 1, 0, [(0, "#262626", 1), (0.5, "#4a4a4a", 1), (1, "#262626", 1)])
    defs += linear("spineline", 0, 0, 1, 0, [(0, "#ffffff", 0), (0.35, "#ffffff", 0.16), (0.8, "#ffffff", 0.08),
                                             (1, "#ffffff", 0)])

    body = ""
    # Shadow on the desk.
    body += f'<ellipse cx="{num(510 - ox)}" cy="{num(363 - oy)}" rx="206" ry="7" fill="#000000" fill-opacity="0.3"/>\n'
    body += f'<ellipse cx="{num(510 - ox)}" cy="{num(363 - oy)}" rx="192" ry="4" fill="#000000" fill-opacity="0.35"/>\n'
    body += path(d(outline), fill="url(#flank)", stroke="#3c3c3c", stroke_width="1", stroke_linejoin="round")
    # A soft sheen where the upper flank turns towards the light.
    defs += radial("sheen", 0.5, 0.5, 0.5, [(0, "#ffffff", 0.045), (1, "#ffffff", 0)])
    body += f'<ellipse cx="{num(545 - ox)}" cy="{num(252 - oy)}" rx="150" ry="34" fill="url(#sheen)"/>\n'
    # The lower flank: a darker grip panel that rises towards the back.
    body += path(d(g["grip"]), fill="url(#grip)", stroke=SEAM, stroke_width="1.25", stroke_linejoin="round")
    # Base and feet.
    base = clip_line(outline, (720, 354), (300, 354))
    body += path(d(base), fill="#121212")
    body += rect(345 - ox, 360 - oy, 44, 2, 1, fill="#0a0a0a")
    body += rect(625 - ox, 360 - oy, 44, 2, 1, fill="#0a0a0a")
    # Top surface band with the spine's highlight, then the buttons.
    band = g["band_poly"](332, 699, 1.2)
    body += path(d(band), fill="url(#topband)", stroke=SEAM, stroke_width="1", stroke_linejoin="round")
    hl = [(x, top_y(x) + 2.6) for x in frange(345, 680, 4)]
    body += path(poly_d(shift(hl, -ox, -oy), closed=False), fill="none", stroke="url(#spineline)",
                 stroke_width="1.5", stroke_linecap="round")
    near, far, wheel, thumb_f, thumb_b, dpi_up, dpi_down = g["buttons"]
    body += path(d(far), fill="url(#btn)", stroke=SEAM, stroke_width="1.25", stroke_linejoin="round")
    body += path(d(near), fill="url(#btn)", stroke=SEAM, stroke_width="1.25", stroke_linejoin="round")
    # Wheel window on the flank.
    body += rect(420.5 - ox, 303.5 - oy, 39, 20, 10, fill="#0d0d0d", stroke=SEAM)
    body += path(d(wheel), fill="url(#wheel)", stroke="#0d0d0d")
    ribs = " ".join(f"M{x - ox} {309 - oy} V{318 - oy}" for x in range(429, 453, 3))
    body += path(ribs, stroke="#000000", stroke_opacity="0.35")
    for pad in (thumb_f, thumb_b):
        body += path(d(pad), fill="url(#btn)", stroke=SEAM, stroke_width="1.25", stroke_linejoin="round")
    for pad in (dpi_up, dpi_down):
        body += path(d(pad), fill="#444444", stroke="#0d0d0d", stroke_width="1")
    write("skin1/mouse/side.svg", svg(440, 200, body, defs))
    for i, shape in enumerate(g["buttons"]):
        overlay_files("side", i, shape, SIDE_OVERLAYS[i])


# ---------------------------------------------------------------- profile page
PAGE_FILL = "#1c1c1c"


def make_profile():
    w, h = 263, 620
    defs, body = dialog_panel(w, h, PAGE_FILL, band=True)
    # The rows are QML's; a faint rule sets the button strip apart from the list above it.
    body += path(f"M1 574.5 H{w - 1}", fill="none", stroke="#2e2e2e")
    write("skin1/profile/profileBG.svg", svg(w, h, body, defs))

    # The page's close cross: quiet grey at rest, white on the hover fill.
    cross = "M4.5 4.5 L9.5 9.5 M9.5 4.5 L4.5 9.5"
    for state, suffix in STATES:
        colour = SECONDARY if state == "rest" else WHITE
        write(f"skin1/profile/closeBtn{suffix}.svg",
              svg(14, 14, bare_frame(14, 14, state) + line_icon(cross, 1.5, colour)))

    # 1.5 px strokes stay sharp when one edge sits on a pixel boundary: a line at n + 0.75 fills
    # pixel n and half of n + 1; outlines symmetric about a whole x take .75 left and .25 right.
    # New: a plus in x 8..18, centred on the 26 px height.
    three_states("profile", "newBtn", 84, 26, line_icon("M12.75 8.5 V17 M8.5 12.75 H17"))
    # Delete: a trash can in x 8..18 (lid with its handle, a tapered bin with one rib).
    trash = line_icon("M8.75 9.75 H17.25 M11.75 9.75 V7.75 H14.25 V9.75 "
                      "M9.75 9.75 L10.75 17.25 H15.25 L16.25 9.75 M13 12.25 V14.75")
    three_states("profile", "deleteBtn", 84, 26, trash)


# ---------------------------------------------------------------- key capture and macros
def make_key_capture():
    w, h = 400, 210
    defs, body = dialog_panel(w, h, "#202020", band=True)
    # A quiet keyboard key as decoration in (170, 60)-(230, 100): the key's outline and its cap.
    body += rect(170.5, 60.5, 59, 39, 6, fill="#000000", fill_opacity="0.12", stroke=DIALOG_EDGE)
    body += rect(176.5, 64.5, 47, 27, 4, fill="#ffffff", fill_opacity="0.02", stroke=DIALOG_EDGE)
    write("skin1/keyMatrix/singleKeyBg.svg", svg(w, h, body, defs))


MACRO_WELLS = [(15, 76, 137, 362), (147, 76, 283, 362), (289, 76, 400, 362)]


def make_macro_panels():
    w, h = 414, 430
    defs, body = dialog_panel(w, h, PAGE_FILL, band=True)
    for box in MACRO_WELLS:
        body += well(*box)
    write("skin1/macros/editorBG.svg", svg(w, h, body, defs))
    defs, body = dialog_panel(400, 300, PAGE_FILL, band=True)
    write("skin1/macros/macroKeyBG.svg", svg(400, 300, body, defs))


def make_macro_buttons():
    three_states("macros", "saveBtn", 54, 28, "")
    three_states("macros", "smallBtn", 58, 25, "")
    three_states("macros", "actionBtn", 89, 24, "")
    # Record: a round dot in x 10..18, centred on the 24 px height; while recording it turns
    # orange with a faint halo on the hover fill.
    three_states("macros", "recordBtn", 89, 24, circle(14, 12, 4, fill=TEXT))
    # An orange edge too, so "recording" never reads as a plain hover.
    on = button_frame(89, 24, "rest", fill=EMBER_HOVER, edge=ORANGE)
    on += circle(14, 12, 6, fill=ORANGE, fill_opacity="0.22")
    on += circle(14, 12, 4, fill=ORANGE)
    write("skin1/macros/recordBtn_on.svg", svg(89, 24, on))


def make_macro_icons():
    """The row icons of the macro list, 16 px line icons."""
    # Lines through the middle sit at x 7.75 so they fill whole pixels; outlines are symmetric about x 8.
    icons = {
        # A key going down: an arrow onto a bar.
        "press": "M7.75 2.75 V9.5 M4.75 6.5 L7.75 9.5 L10.75 6.5 M3.75 13.25 H11.75",
        # A key coming up: an arrow rising from a bar.
        "release": "M7.75 9.75 V3 M4.75 6 L7.75 3 L10.75 6 M3.75 13.25 H11.75",
        # A wait: a clock face with its hands.
        "delay": "M7.75 4.75 V8.25 H10.25",
        # A mouse button: the mouse's outline with the seam between its buttons.
        "mouse": "M7.75 2 V6.25 M4 6.75 H11.5",
        # Cursor movement: a crosshair.
        "cursor": "M7.75 1.25 V4.25 M7.75 11.25 V14.25 M1.25 7.75 H4.25 M11.25 7.75 H14.25",
    }
    extra = {
        "delay": circle(7.75, 7.75, 5.75, fill="none", stroke=TEXT, stroke_width="1.5"),
        "mouse": rect(3.75, 1.75, 8, 12.5, 4, fill="none", stroke=TEXT, stroke_width="1.5"),
        "cursor": circle(7.75, 7.75, 4.5, fill="none", stroke=TEXT, stroke_width="1.5")
        + circle(7.75, 7.75, 1, fill=TEXT),
    }
    for name, d in icons.items():
        write(f"skin1/macros/{name}.svg", svg(16, 16, extra.get(name, "") + line_icon(d)))
    write("skin1/macros/dropArrow.svg", svg(10, 6, line_icon("M1.5 1.5 L5 4.75 L8.5 1.5", 1.5, SECONDARY)))


# ---------------------------------------------------------------- gun page
def make_gun():
    n = 200
    c = n / 2
    body = well(0, 0, n, n)
    body += circle(c, c, 90, fill="none", stroke="#2a2a2a")
    body += path(f"M{num(c)} 1 V{n - 1} M1 {num(c)} H{n - 1}", fill="none", stroke="#3a3a3a")
    body += circle(c, c, 3, fill=ORANGE)
    write("skin1/gun/mousePad.svg", svg(n, n, body))


def main():
    make_background()
    make_splash()
    make_logo()
    make_index_buttons()
    make_common()
    make_rate()
    make_dials()
    make_top()
    make_side()
    make_profile()
    make_key_capture()
    make_macro_panels()
    make_macro_buttons()
    make_macro_icons()
    make_gun()
    print(f"wrote {len(written)} pictures under {os.path.relpath(IMG, os.getcwd())}")


if __name__ == "__main__":
    main()
