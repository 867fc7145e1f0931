# Face set "Neko": a ginger cat. gen/make_faces.py writes it as four
# 48 x 48, 8-bit bitmaps into the working folder's Neko\ directory.
import math

from face_canvas import arc, curve, ellipse, polygon, stroke, vertical_gradient

FORMAT = "indexed"

FUR = vertical_gradient((250, 186, 104), (222, 132, 58), 8, 44)
OUTLINE = (104, 62, 34)
EAR_INSIDE = (246, 160, 168)
MUZZLE = (255, 240, 222)
NOSE = (226, 98, 116)
DARK = (62, 40, 30)
WHITE = (255, 255, 255)


def head():
    ears = [
        polygon([(5, 20), (9, 2), (21, 11)], OUTLINE),
        polygon([(43, 20), (39, 2), (27, 11)], OUTLINE),
        polygon([(7.5, 17), (10, 5.5), (18, 11.5)], EAR_INSIDE),
        polygon([(40.5, 17), (38, 5.5), (30, 11.5)], EAR_INSIDE),
    ]
    face = [
        ellipse(24, 27, 21, 18, OUTLINE),
        ellipse(24, 27, 19.6, 16.6, FUR),
        # Tabby stripes on the forehead.
        stroke([(24, 10.5), (24, 15)], 2, (200, 112, 48)),
        stroke([(19, 11.5), (20, 15)], 1.6, (200, 112, 48)),
        stroke([(29, 11.5), (28, 15)], 1.6, (200, 112, 48)),
        ellipse(24, 34, 9, 6.5, MUZZLE),
        polygon([(21.5, 29), (26.5, 29), (24, 31.5)], NOSE),
    ]
    whiskers = [
        stroke([(2, 30), (13, 32)], 1, DARK), stroke([(2, 35), (13, 34.5)], 1, DARK),
        stroke([(46, 30), (35, 32)], 1, DARK), stroke([(46, 35), (35, 34.5)], 1, DARK),
    ]
    return ears + face + whiskers


def cat_mouth(width=3.0, depth=2.2):
    """The little "w" of a cat's mouth under the nose."""
    left = arc(24 - width / 2, 32, width / 2, depth, 0, 180, 12)
    right = arc(24 + width / 2, 32, width / 2, depth, 0, 180, 12)
    return [stroke(left, 1.3, DARK), stroke(right, 1.3, DARK)]


fine = head() + cat_mouth() + [
    stroke(arc(16, 25, 3.6, 3.4, 190, 350), 2.2, DARK),
    stroke(arc(32, 25, 3.6, 3.4, 190, 350), 2.2, DARK),
    ellipse(10.5, 31, 3, 1.8, (246, 150, 140)),
    ellipse(37.5, 31, 3, 1.8, (246, 150, 140)),
]

calm = head() + cat_mouth(2.4, 1.6) + [
    # Half-closed, contented eyes.
    polygon(arc(16, 24, 4, 3.4, 0, 180), DARK),
    polygon(arc(32, 24, 4, 3.4, 0, 180), DARK),
    stroke([(11.5, 24), (20.5, 24)], 1.4, OUTLINE),
    stroke([(27.5, 24), (36.5, 24)], 1.4, OUTLINE),
]

down = head() + [
    # Big wet eyes looking up, and a wobbly little mouth.
    ellipse(16, 24, 4.2, 4.6, DARK), ellipse(32, 24, 4.2, 4.6, DARK),
    ellipse(17.2, 22.4, 1.6, 1.7, WHITE), ellipse(33.2, 22.4, 1.6, 1.7, WHITE),
    ellipse(14.8, 25.8, 0.8, 0.8, WHITE), ellipse(30.8, 25.8, 0.8, 0.8, WHITE),
    stroke([(11, 18), (18, 16.5)], 1.4, OUTLINE), stroke([(37, 18), (30, 16.5)], 1.4, OUTLINE),
    stroke(arc(24, 37.5, 3.4, 2.2, 200, 340), 1.4, DARK),
    polygon([(13, 28.5)] + arc(13, 32, 1.8, 2.2, -30, 210), (150, 206, 255)),
]


def zigzag(t):
    return (24 - 5 + t, 36.5 + (1.2 if int(t / 2.5) % 2 else -1.2))


busy = head() + [
    # Startled: round eyes with pin-prick pupils, an open mouth, sweat.
    ellipse(16, 24, 4.4, 4.4, DARK), ellipse(32, 24, 4.4, 4.4, DARK),
    ellipse(16, 24, 3.2, 3.2, WHITE), ellipse(32, 24, 3.2, 3.2, WHITE),
    ellipse(16, 24, 1.1, 1.3, DARK), ellipse(32, 24, 1.1, 1.3, DARK),
    ellipse(24, 37, 3.2, 3.6, DARK), ellipse(24, 38.4, 2, 1.6, NOSE),
    polygon([(42, 18)] + arc(42, 23, 2.6, 2.8, -40, 220), (170, 220, 255)),
    stroke([(3, 8), (6, 11)], 1.3, DARK), stroke([(45, 8), (42, 11)], 1.3, DARK),
]

BACKGROUND = (226, 242, 232)
FACES = {
    "fine": (fine, BACKGROUND),
    "calm": (calm, BACKGROUND),
    "down": (down, (222, 230, 246)),
    "busy": (busy, (252, 226, 222)),
}
