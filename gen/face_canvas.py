"""A tiny anti-aliased painter for the 48 x 48 face pictures.

A picture is a list of shapes painted in order, each a test "is this point
inside" plus a colour (or a function giving the colour at a point). Every
pixel is sampled on a 4 x 4 grid and the samples averaged, which smooths
the edges. Coordinates are pixels, origin top-left, y downwards; a pixel's
centre is at (x + 0.5, y + 0.5).
"""
import math

SIZE = 48
SAMPLES = 4


def _segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    cx, cy = ax + t * dx, ay + t * dy
    return math.hypot(px - cx, py - cy)


class Shape:
    def __init__(self, inside, colour, box):
        self.inside = inside
        self.colour = colour
        self.box = box  # (x0, y0, x1, y1) outside which the shape is empty

    def colour_at(self, x, y):
        return self.colour(x, y) if callable(self.colour) else self.colour


def rounded_rect(x0, y0, x1, y1, radius, colour):
    def inside(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        cx = min(max(x, x0 + radius), x1 - radius)
        cy = min(max(y, y0 + radius), y1 - radius)
        return (x - cx) ** 2 + (y - cy) ** 2 <= radius * radius
    return Shape(inside, colour, (x0, y0, x1, y1))


def ellipse(cx, cy, rx, ry, colour):
    def inside(x, y):
        return ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0
    return Shape(inside, colour, (cx - rx, cy - ry, cx + rx, cy + ry))


def polygon(points, colour):
    def inside(x, y):
        result = False
        j = len(points) - 1
        for i, (xi, yi) in enumerate(points):
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                result = not result
            j = i
        return result
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return Shape(inside, colour, (min(xs), min(ys), max(xs), max(ys)))


def stroke(points, width, colour):
    """A polyline drawn with a round pen `width` pixels wide."""
    half = width / 2.0
    segments = list(zip(points, points[1:])) or [(points[0], points[0])]

    def inside(x, y):
        return any(_segment_distance(x, y, a[0], a[1], b[0], b[1]) <= half for a, b in segments)
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return Shape(inside, colour, (min(xs) - half, min(ys) - half, max(xs) + half, max(ys) + half))


def curve(function, t0, t1, steps=24):
    """Points of a parametric curve t -> (x, y)."""
    return [function(t0 + (t1 - t0) * i / steps) for i in range(steps + 1)]


def arc(cx, cy, rx, ry, start_degrees, end_degrees, steps=24):
    """Points along an elliptic arc; 0 degrees points right, 90 down."""
    def point(t):
        a = math.radians(t)
        return (cx + rx * math.cos(a), cy + ry * math.sin(a))
    return curve(point, start_degrees, end_degrees, steps)


def vertical_gradient(top_colour, bottom_colour, y0, y1):
    def colour(_x, y):
        t = min(1.0, max(0.0, (y - y0) / float(y1 - y0)))
        return tuple(a + (b - a) * t for a, b in zip(top_colour, bottom_colour))
    return colour


def render(shapes, background):
    """Returns rows of (r, g, b) tuples, top row first."""
    step = 1.0 / SAMPLES
    offsets = [step * (i + 0.5) for i in range(SAMPLES)]
    rows = []
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            candidates = [s for s in reversed(shapes)
                          if s.box[0] <= px + 1 and s.box[2] >= px and s.box[1] <= py + 1 and s.box[3] >= py]
            total = [0.0, 0.0, 0.0]
            for oy in offsets:
                for ox in offsets:
                    x, y = px + ox, py + oy
                    colour = background
                    for shape in candidates:
                        if shape.inside(x, y):
                            colour = shape.colour_at(x, y)
                            break
                    for c in range(3):
                        total[c] += colour[c]
            count = SAMPLES * SAMPLES
            row.append(tuple(int(round(v / count)) for v in total))
        rows.append(row)
    return rows
