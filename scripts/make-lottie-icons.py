#!/usr/bin/env python3
"""Writes the six animated icons of the demo's side menu, and the message window's picture,
into resources/lottie/.

    scripts/make-lottie-icons.py            (python3, standard library only)

Each file is a Lottie document as an After Effects export writes it: shape layers of groups,
paths, rectangles and ellipses with fills, strokes (round caps and joins) and trim paths,
transforms animated by keyframes with bezier easing. No expressions, effects, text, images
or 3D, so that our own player and any other plays them alike.

Timing. "frames 0 to 75" at 60 fps is read as the exporter writes a 75-frame work area:
"ip" 0 and "op" 75, where op is the frame after the last one shown. Frames 0..74 are drawn
(1.25 s; 45 frames at 29.97 fps are 1.5 s) and frame 75 is frame 0 of the next round. Every icon starts and ends in the same resting pose and holds it
for a few frames at both ends, so the loop is seamless and a player showing frame 0, op - 1
or op (the menu icon rests on its last frame and plays backwards) shows the icon at rest.
The icons stop wherever the pointer leaves them, so every pose in between is a whole icon.

Looks. 48 x 48 canvas drawn into 35 x 35 pixels: strokes 3 wide (2.2 px on screen), nothing
within 4 of the edge. One colour per icon: the five side-menu icons in the accent blue
RGB(0, 120, 215), which keeps about 4.5:1 contrast against white and against black, and
"Menu" in white for the blue menu button. Preview them with
    scripts/lottie-reference.sh --out /tmp/icons --size 35 --frames all --sheet resources/lottie/*.json
and check them with scripts/lottie-validate.sh resources/lottie/*.json.

The message window's picture, message.json, is larger and slower: a 512 x 512 canvas at 30 fps,
frames 0 to 150 (5 s), drawn into about 73 x 73 pixels, so its strokes are 28 wide (4 px on
screen). It plays and loops on its own while the window is open, so it moves calmly: a speech
bubble floats up and back down once per round while its three dots rise in turn, twice. It
too starts and ends in its resting pose.
"""

import json
import math
import os

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "resources", "lottie")

SIZE = 48
ACCENT = [0, 120 / 255, 215 / 255, 1]
WHITE = [1, 1, 1, 1]
STROKE = 3
KAPPA = 0.5523  # handle length of a quarter circle drawn by one cubic, per unit radius

# Easing curves as (out handle, in handle): the cubic-bezier control points of a segment.
EASE = ((0.42, 0), (0.58, 1))         # ease in and out
SMOOTH = ((0.65, 0), (0.35, 1))       # stronger ease in and out, for longer moves
EASE_IN = ((0.55, 0), (0.9, 0.7))     # accelerating, for things that leave
EASE_OUT = ((0.1, 0.3), (0.45, 1))    # decelerating, for things that arrive
BACK_OUT = ((0.34, 1.56), (0.64, 1))  # overshoots a little and settles
LINEAR = ((0.167, 0.167), (0.833, 0.833))  # the exporter's linear: for baked curves


def num(v):
    """Numbers as the file keeps them: integers plain, others to 3 decimals."""
    if isinstance(v, (list, tuple)):
        return [num(x) for x in v]
    r = round(v, 3)
    return int(r) if r == int(r) else r


# --- Properties ------------------------------------------------------------------------------

def static(v):
    return {"a": 0, "k": num(v)}


def animated(keys, spatial=False):
    """keys: [(frame, value, easing of the segment that starts here)...]; the last key's
    easing is unused. Scalars are written as one-element arrays, as the exporter does."""
    out = []
    for n, (t, v, ease) in enumerate(keys):
        value = num(v) if isinstance(v, (list, tuple)) else [num(v)]
        k = {"t": t, "s": value}
        if n + 1 < len(keys):
            (ox, oy), (ix, iy) = ease
            if spatial:
                k["o"] = {"x": ox, "y": oy}
                k["i"] = {"x": ix, "y": iy}
            else:
                dims = len(value)
                k["o"] = {"x": [ox] * dims, "y": [oy] * dims}
                k["i"] = {"x": [ix] * dims, "y": [iy] * dims}
        out.append(k)
    return {"a": 1, "k": out}


def prop(v, spatial=False):
    """A value, or keyframes when given a list of (frame, value, easing) tuples."""
    if isinstance(v, list) and v and isinstance(v[0], tuple):
        return animated(v, spatial)
    return static(v)


def bezier(points, closed=False):
    """points: [(vertex, in tangent, out tangent)...], tangents relative to their vertex."""
    return {
        "c": closed,
        "v": [num(p[0]) for p in points],
        "i": [num(p[1]) for p in points],
        "o": [num(p[2]) for p in points],
    }


def polyline(vertices, closed=False):
    return bezier([(v, (0, 0), (0, 0)) for v in vertices], closed)


# --- Shapes --------------------------------------------------------------------------------

def path(name, shape):
    """shape: a bezier, or keyframes [(frame, bezier, easing)...]."""
    if isinstance(shape, list):
        ks = {"a": 1, "k": []}
        for n, (t, b, ease) in enumerate(shape):
            k = {"t": t, "s": [b]}
            if n + 1 < len(shape):
                (ox, oy), (ix, iy) = ease
                k["o"] = {"x": ox, "y": oy}
                k["i"] = {"x": ix, "y": iy}
            ks["k"].append(k)
    else:
        ks = static(0)
        ks["k"] = shape
    return {"ty": "sh", "nm": name, "d": 1, "ks": ks}


def rect(name, pos, size, roundness):
    return {"ty": "rc", "nm": name, "d": 1, "p": prop(pos, True), "s": prop(size), "r": prop(roundness)}


def ellipse(name, pos, size):
    return {"ty": "el", "nm": name, "d": 1, "p": prop(pos, True), "s": prop(size)}


def stroke(color, width=STROKE, opacity=100):
    return {"ty": "st", "nm": "Stroke", "c": static(color), "o": prop(opacity), "w": static(width),
            "lc": 2, "lj": 2, "ml": 4}


def fill(color, opacity=100):
    return {"ty": "fl", "nm": "Fill", "c": static(color), "o": prop(opacity), "r": 1}


def trim(start=0, end=100, offset=0):
    return {"ty": "tm", "nm": "Trim Paths", "s": prop(start), "e": prop(end), "o": prop(offset), "m": 1}


def shape_transform(p=(0, 0), a=(0, 0), s=(100, 100), r=0, o=100):
    return {"ty": "tr", "nm": "Transform", "p": prop(p, True), "a": prop(a, True), "s": prop(s),
            "r": prop(r), "o": prop(o), "sk": static(0), "sa": static(0)}


def group(name, items, **transform):
    return {"ty": "gr", "nm": name, "np": len(items), "it": items + [shape_transform(**transform)]}


def layer(index, name, shapes, op, size=SIZE):
    """A shape layer whose origin is the canvas centre. It lasts one frame past the end of
    the composition, so that a player asked for frame op itself (where a control resting on
    its last frame may land) still draws it rather than an empty canvas."""
    return {
        "ddd": 0, "ind": index, "ty": 4, "nm": name, "sr": 1,
        "ks": {"o": static(100), "r": static(0), "p": static([size / 2, size / 2, 0]),
               "a": static([0, 0, 0]), "s": static([100, 100, 100])},
        "ao": 0, "shapes": shapes, "ip": 0, "op": op + 1, "st": 0, "bm": 0,
    }


def animation(name, fr, op, layers, size=SIZE, version="5.12.2"):
    return {"v": version, "fr": fr, "ip": 0, "op": op, "w": size, "h": size, "nm": name, "ddd": 0,
            "assets": [], "layers": layers, "markers": []}


# --- Geometry helpers ------------------------------------------------------------------------

def arc_handle(radius, sweep_deg):
    """Handle length of one cubic drawing an arc of the given sweep."""
    return 4 / 3 * math.tan(math.radians(sweep_deg) / 4) * radius


def polar(radius, deg):
    a = math.radians(deg)
    return (radius * math.sin(a), -radius * math.cos(a))  # 0 degrees points up, clockwise


def ease_value(t, ease):
    """Progress (0..1) of a cubic-bezier easing at time fraction t, as players compute it."""
    (x1, y1), (x2, y2) = ease
    lo, hi = 0.0, 1.0
    for _ in range(60):
        u = (lo + hi) / 2
        x = 3 * (1 - u) ** 2 * u * x1 + 3 * (1 - u) * u * u * x2 + u ** 3
        lo, hi = (u, hi) if x < t else (lo, u)
    u = (lo + hi) / 2
    return 3 * (1 - u) ** 2 * u * y1 + 3 * (1 - u) * u * u * y2 + u ** 3


# --- The icons ---------------------------------------------------------------------------

def menu():
    """Hamburger that folds into a cross and back: the outer lines slide onto the middle one,
    which shrinks away, then turn into a cross; unfolding runs the same steps backwards."""
    op = 75
    rest_a, merged_a, cross_a, cross_b, merged_b, rest_b = 8, 21, 34, 41, 54, 67
    half = 11

    def bar(name, y, r_cross):
        line = path("Line", polyline([(-half, 0), (half, 0)]))
        return group(name, [line, stroke(WHITE)],
                     p=[(rest_a, [0, y], EASE), (merged_a, [0, 0], LINEAR),
                        (merged_b, [0, 0], EASE), (rest_b, [0, y], LINEAR)],
                     r=[(merged_a, 0, BACK_OUT), (cross_a, r_cross, LINEAR),
                        (cross_b, r_cross, EASE), (merged_b, 0, LINEAR)])

    # The middle line shrinks to its centre while the others slide onto it, and is hidden
    # while they turn (a zero-length line with round caps would leave a dot).
    middle = group("Middle", [
        path("Line", polyline([(-half, 0), (half, 0)])),
        trim(start=[(rest_a, 0, EASE), (merged_a, 50, LINEAR), (merged_b, 50, EASE), (rest_b, 0, LINEAR)],
             end=[(rest_a, 100, EASE), (merged_a, 50, LINEAR), (merged_b, 50, EASE), (rest_b, 100, LINEAR)]),
        stroke(WHITE),
    ], o=[(merged_a - 1, 100, LINEAR), (merged_a, 0, LINEAR), (merged_b, 0, LINEAR), (merged_b + 1, 100, LINEAR)])
    shapes = [bar("Top", -8.5, 45), middle, bar("Bottom", 8.5, -45)]
    return animation("Menu", 60, op, [layer(1, "Menu", shapes, op)])


def globe():
    """A globe turning by the spacing of its meridians: each meridian is the front half of a
    great circle, a half ellipse whose width follows the sine of its longitude. The motion
    eases in and out; the curve is baked into keyframes as an exporter bakes it."""
    op, start, end, step = 75, 10, 65, 5
    radius = 17
    spacing = 60

    def meridian(longitude):
        a = radius * math.sin(math.radians(longitude))
        return bezier([((0, -radius), (0, 0), (a * KAPPA, 0)),
                       ((a, 0), (0, -radius * KAPPA), (0, radius * KAPPA)),
                       ((0, radius), (a * KAPPA, 0), (0, 0))])

    meridians = []
    for n, first in enumerate((-90, -30, 30)):
        keys = []
        for t in range(start, end + 1, step):
            progress = ease_value((t - start) / (end - start), SMOOTH)
            keys.append((t, meridian(first + spacing * progress), LINEAR))
        # A meridian on the rim lies on the outline; hiding it there keeps the first and the
        # last frame identical (the rim on the left at the start, on the right at the end).
        opacity = 100
        if first == -90:
            opacity = [(start, 0, LINEAR), (start + 10, 100, LINEAR)]
        elif first + spacing == 90:
            opacity = [(end - 10, 100, LINEAR), (end, 0, LINEAR)]
        meridians.append(group("Meridian %d" % (n + 1), [path("Meridian", keys), stroke(ACCENT)], o=opacity))

    k = radius * KAPPA
    outline = bezier([((0, -radius), (-k, 0), (k, 0)), ((radius, 0), (0, -k), (0, k)),
                      ((0, radius), (k, 0), (-k, 0)), ((-radius, 0), (0, k), (0, -k))], closed=True)
    equator = polyline([(-radius, 0), (radius, 0)])
    shapes = meridians + [
        group("Equator", [path("Equator", equator), stroke(ACCENT)]),
        group("Outline", [path("Outline", outline), stroke(ACCENT)]),
    ]
    return animation("globe", 60, op, [layer(1, "Globe", shapes, op)])


def reports():
    """Bars of a chart over a base line: they sink together, then grow back one after the
    other and settle with a small overshoot."""
    op = 75
    base_y, bottom, width, low = 14.5, 10.5, 6, 3
    bars = [(-10, 12), (0, 19), (10, 26)]   # centre x, resting height
    sink, low_at = 4, 14
    shapes = []
    for n, (x, height) in enumerate(bars):
        grow_from, grow_to = low_at + 8 * n, low_at + 8 * n + 20

        def keys(value_of):
            down = [(sink, value_of(height), EASE_IN)]
            if grow_from > low_at:   # waits on the floor for its turn
                down.append((low_at, value_of(low), LINEAR))
            return down + [(grow_from, value_of(low), BACK_OUT), (grow_to, value_of(height), LINEAR)]

        bar = rect("Bar", keys(lambda h: [x, bottom - h / 2]), keys(lambda h: [width, h]), 2)
        shapes.append(group("Bar %d" % (n + 1), [bar, fill(ACCENT)]))
    base = polyline([(-16, base_y), (16, base_y)])
    shapes.append(group("Base line", [path("Base line", base), stroke(ACCENT)]))
    return animation("reports", 60, op, [layer(1, "Reports", shapes, op)])


def server():
    """A rack of three bays whose lights blink in turn, top to bottom, twice."""
    op = 75
    half_w, half_h = 15, 17.5
    bay = 2 * half_h / 3
    shapes = []
    for n in range(3):
        cy = -half_h + bay * n + bay / 2
        blinks = []
        for round_start in (6, 40):
            t = round_start + 7 * n
            blinks += [(t, 100, EASE), (t + 5, 15, EASE), (t + 12, 100, EASE)]
        light = group("Light", [ellipse("Light", [0, 0], [5, 5]), fill(ACCENT)],
                      p=[9, cy], o=blinks)
        slot = group("Slot", [path("Slot", polyline([(-9, cy), (-3, cy)])), stroke(ACCENT)])
        shapes += [light, slot]
    dividers = [path("Divider", polyline([(-half_w, y), (half_w, y)])) for y in (-half_h + bay, half_h - bay)]
    shapes.append(group("Dividers", dividers + [stroke(ACCENT)]))
    shapes.append(group("Case", [rect("Case", [0, 0], [2 * half_w, 2 * half_h], 3.5), stroke(ACCENT)]))
    return animation("Server", 60, op, [layer(1, "Server", shapes, op)])


def gear_outline(teeth, root, tip, tooth_root_deg, tooth_tip_deg):
    """A closed gear: arcs at the tip and root radii joined by straight flanks."""
    pitch = 360 / teeth
    points = []
    for n in range(teeth):
        c = n * pitch
        root_gap = pitch - 2 * tooth_root_deg
        tip_h = arc_handle(tip, 2 * tooth_tip_deg)
        root_h = arc_handle(root, root_gap)
        for deg, radius, handle, into in ((c - tooth_root_deg, root, root_h, True),
                                          (c - tooth_tip_deg, tip, tip_h, False),
                                          (c + tooth_tip_deg, tip, tip_h, True),
                                          (c + tooth_root_deg, root, root_h, False)):
            v = polar(radius, deg)
            tx, ty = math.cos(math.radians(deg)), math.sin(math.radians(deg))  # clockwise tangent
            if into:   # the arc arrives at this vertex: an in handle, a straight flank leaves
                points.append((v, (-tx * handle, -ty * handle), (0, 0)))
            else:      # a straight flank arrives, an arc leaves
                points.append((v, (0, 0), (tx * handle, ty * handle)))
    return bezier(points, closed=True)


def setting():
    """A gear that turns half a round, easing in and out; eight teeth make it look the same
    after any multiple of 45 degrees."""
    op = 45
    outline = gear_outline(8, 12.5, 17, 14, 8)
    k = 5.5 * KAPPA
    hub = bezier([((0, -5.5), (-k, 0), (k, 0)), ((5.5, 0), (0, -k), (0, k)),
                  ((0, 5.5), (k, 0), (-k, 0)), ((-5.5, 0), (0, k), (0, -k))], closed=True)
    gear = group("Gear", [path("Teeth", outline), path("Hub", hub), stroke(ACCENT)],
                 r=[(4, 0, SMOOTH), (38, 180, LINEAR)])
    return animation("setting", 29.97, op, [layer(1, "Gear", [gear], op)])


def exit_icon():
    """A door frame whose door swings open while an arrow leaves through it, fading before it
    reaches the edge; the arrow comes back in and the door closes behind it."""
    op = 45
    left, right, top, r = -15, 1, -17, 3
    frame = bezier([((right, top), (0, 0), (0, 0)),
                    ((left + r, top), (0, 0), (-r * KAPPA, 0)), ((left, top + r), (0, -r * KAPPA), (0, 0)),
                    ((left, -top - r), (0, 0), (0, r * KAPPA)), ((left + r, -top), (-r * KAPPA, 0), (0, 0)),
                    ((right, -top), (0, 0), (0, 0))])
    # The leaf, hinged on the left jamb: closed it fills the doorway; open, its far edge
    # moves towards the hinge and shortens as it turns away.
    closed = polyline([(left, top), (right, top), (right, -top), (left, -top)], closed=True)
    opened = polyline([(left, top), (left + 6, top + 3), (left + 6, -top - 3), (left, -top)], closed=True)
    leaf = group("Leaf", [path("Leaf", [(3, closed, SMOOTH), (13, opened, LINEAR),
                                        (28, opened, SMOOTH), (40, closed, LINEAR)]),
                          fill(ACCENT, 28)])
    arrow = group("Arrow", [
        path("Shaft", polyline([(-5, 0), (14, 0)])),
        path("Head", polyline([(7, -7), (14, 0), (7, 7)])),
        stroke(ACCENT),
    ], p=[(5, [0, 0], EASE_IN), (16, [6, 0], LINEAR), (17, [-8, 0], EASE_OUT), (34, [0, 0], LINEAR)],
        o=[(7, 100, EASE_IN), (16, 0, LINEAR), (17, 0, EASE_OUT), (28, 100, LINEAR)])
    frame_group = group("Frame", [path("Frame", frame), stroke(ACCENT)])
    return animation("exit", 29.97, op, [layer(1, "Exit", [arrow, frame_group, leaf], op)])


def rounded_corner(corner, radius, clockwise_in):
    """The two vertices of a quarter-circle corner of an axis-aligned box, for a path that runs
    clockwise: corner is the box's corner point, clockwise_in the unit direction the path
    travels as it arrives at the corner."""
    (cx, cy), (dx, dy) = corner, clockwise_in
    nx, ny = -dy, dx   # the direction it leaves in: a right turn
    h = radius * KAPPA
    arrive = (cx - dx * radius, cy - dy * radius)
    leave = (cx + nx * radius, cy + ny * radius)
    return [(arrive, (0, 0), (dx * h, dy * h)), (leave, (-nx * h, -ny * h), (0, 0))]


def message():
    """A speech bubble with a tail at its lower left and three dots inside it, the way a chat
    shows that someone is typing. The dots rise and fall in turn, twice a round; the bubble
    floats a little up and back down over the whole round."""
    op = 150
    size = 512
    stroke_w = 28
    left, right, top, bottom, r = -180, 180, -160, 90, 64
    tail_from, tail_tip, tail_to = -40, (-128, 155), -102
    # Clockwise from the top edge: corners, then the tail leaves the bottom edge and comes back.
    points = (rounded_corner((right, top), r, (1, 0)) + rounded_corner((right, bottom), r, (0, 1))
              + [((tail_from, bottom), (0, 0), (0, 0)),
                 (tail_tip, (20, -22), (0, 0)),
                 ((tail_to, bottom), (0, 0), (0, 0))]
              + rounded_corner((left, bottom), r, (-1, 0)) + rounded_corner((left, top), r, (0, -1)))
    outline = bezier(points, closed=True)
    bubble = group("Bubble", [path("Outline", outline), stroke(ACCENT, stroke_w), fill(ACCENT, 12)])

    middle = (top + bottom) / 2
    dots = []
    for n, x in enumerate((-95, 0, 95)):
        keys_y, keys_o = [], []
        for round_start in (14, 89):
            t = round_start + 9 * n
            keys_y += [(t, [x, middle], EASE_OUT), (t + 9, [x, middle - 30], EASE),
                       (t + 21, [x, middle], LINEAR)]
            keys_o += [(t, 55, EASE_OUT), (t + 9, 100, EASE), (t + 21, 55, LINEAR)]
        dot = group("Dot %d" % (n + 1), [ellipse("Dot", [0, 0], [56, 56]), fill(ACCENT)], p=keys_y, o=keys_o)
        dots.append(dot)
    # The dots rest half-lit, as a typing indicator does between its waves.
    content = group("Message", dots + [bubble],
                    p=[(0, [0, 0], SMOOTH), (75, [0, -10], SMOOTH), (150, [0, 0], LINEAR)])
    return animation("Comp 1", 30, op, [layer(1, "Message", [content], op, size)], size, "4.8.0")


ICONS = {"Menu": menu, "globe": globe, "reports": reports, "Server": server,
         "setting": setting, "exit": exit_icon, "message": message}


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, make in ICONS.items():
        text = json.dumps(make(), separators=(",", ":"))
        with open(os.path.join(OUT, name + ".json"), "w", encoding="utf-8") as f:
            f.write(text)
        print("%s.json: %d bytes" % (name, len(text)))


if __name__ == "__main__":
    main()
