# The four faces built into the program, drawn with gen/face_canvas.py:
# a rounded square face whose colour and expression follow the mood.
# gen/make_faces.py writes them as 48 x 48, 8-bit bitmaps.
import math

from face_canvas import arc, curve, ellipse, polygon, rounded_rect, stroke, vertical_gradient

FORMAT = "indexed"
COLOURS = {"calm": 188}

BACKGROUND = (240, 240, 240)  # the dialog's own colour around the corners
OUTLINE = (58, 60, 70)
WHITE = (255, 255, 255)
MOUTH = (64, 40, 48)
TONGUE = (232, 112, 128)


def face(top, bottom, highlight):
    """The square: a dark rim, a shaded body and a soft shine top-left."""
    return [
        rounded_rect(1, 1, 47, 47, 8, OUTLINE),
        rounded_rect(2.5, 2.5, 45.5, 45.5, 6.5, vertical_gradient(top, bottom, 3, 45)),
        ellipse(12, 8, 6, 2.6, highlight),
    ]


def cheeks(colour):
    return [ellipse(9.5, 31, 4, 2.4, colour), ellipse(38.5, 31, 4, 2.4, colour)]


def arched_eyes():
    # Happy, closed eyes: two little arches.
    return [stroke(arc(15.5, 22, 5, 5, 190, 350), 3.2, WHITE),
            stroke(arc(32.5, 22, 5, 5, 190, 350), 3.2, WHITE)]


GREY = ((190, 193, 200), (138, 142, 152), (222, 224, 230))

fine = face(*GREY) + cheeks((222, 150, 160)) + arched_eyes() + [
    # An open smile with a tongue peeping out.
    polygon(arc(24, 28.5, 10, 9, 0, 180), MOUTH),
    ellipse(24, 35, 5, 3, TONGUE),
    stroke(arc(24, 28.5, 10, 9, 0, 180) + [(14, 28.5), (34, 28.5)], 2.2, OUTLINE),
]

calm = face(*GREY) + cheeks((206, 170, 178)) + arched_eyes() + [
    stroke([(16.5, 33), (31.5, 33)], 3, OUTLINE),
]

SLATE = ((128, 138, 196), (78, 88, 146), (162, 170, 216))

down = face(*SLATE) + [
    # Eyes slanting down to the outside, a tear and a frown.
    stroke([(10.5, 24), (19.5, 20)], 3.2, WHITE),
    stroke([(28.5, 20), (37.5, 24)], 3.2, WHITE),
    polygon([(12, 27)] + arc(12, 31, 2.2, 2.4, -30, 210), (170, 220, 255)),
    stroke(arc(24, 41, 9, 6.5, 205, 335), 3, OUTLINE),
]

RED = ((240, 96, 80), (186, 36, 40), (255, 160, 146))


def wave(t):
    return (15 + t, 34 + 2.2 * math.sin(t / 18.0 * 3 * math.pi))


busy = face(*RED) + [
    # Eyes squeezed shut, a wobbly mouth and a drop of sweat.
    stroke([(10.5, 17.5), (19.5, 21.5), (10.5, 25.5)], 3.2, WHITE),
    stroke([(37.5, 17.5), (28.5, 21.5), (37.5, 25.5)], 3.2, WHITE),
    stroke(curve(wave, 0, 18, 36), 2.6, OUTLINE),
    polygon([(40, 5)] + arc(40, 11, 3.2, 3.4, -40, 220), (190, 232, 255)),
    ellipse(39, 11, 1, 1.3, WHITE),
]

FACES = {
    "fine": (fine, BACKGROUND),
    "calm": (calm, BACKGROUND),
    "down": (down, BACKGROUND),
    "busy": (busy, BACKGROUND),
}
