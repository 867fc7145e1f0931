# Face set "Robo": a little tin robot whose lamp eyes and antenna light up
# with its mood. gen/make_faces.py writes it as four 48 x 48, 24-bit
# bitmaps into the working folder's Robo\ directory.
from face_canvas import arc, ellipse, polygon, rounded_rect, stroke, vertical_gradient

FORMAT = "rgb"

OUTLINE = (40, 46, 58)
METAL = vertical_gradient((212, 220, 232), (140, 150, 168), 10, 46)
VISOR = (28, 34, 48)
BOLT = (96, 104, 120)


def robot(lamp, glow):
    return [
        stroke([(24, 3.5), (24, 10)], 1.6, OUTLINE),
        ellipse(24, 4, 3.4, 3.4, glow),
        ellipse(24, 4, 2.2, 2.2, lamp),
        rounded_rect(2.5, 15, 7.5, 32, 1.5, OUTLINE),
        rounded_rect(40.5, 15, 45.5, 32, 1.5, OUTLINE),
        rounded_rect(5, 9, 43, 46, 5, OUTLINE),
        rounded_rect(6.5, 10.5, 41.5, 44.5, 3.8, METAL),
        ellipse(10, 14, 1.2, 1.2, BOLT), ellipse(38, 14, 1.2, 1.2, BOLT),
        ellipse(10, 41, 1.2, 1.2, BOLT), ellipse(38, 41, 1.2, 1.2, BOLT),
        rounded_rect(10, 16, 38, 29, 3, VISOR),
        rounded_rect(14, 33, 34, 40, 2, VISOR),
    ]


def mouth_lamps(colour, heights):
    """A row of five lamps in the mouth grille, each lifted by its height."""
    return [rounded_rect(15.5 + 3.8 * i, 35.5 - h, 18.3 + 3.8 * i, 37.5 - h, 0.6, colour)
            for i, h in enumerate(heights)]


GREEN, GREEN_GLOW = (120, 255, 140), (60, 150, 80)
fine = robot(GREEN, GREEN_GLOW) + [
    stroke(arc(18, 24.5, 3.6, 3.6, 195, 345), 2.4, GREEN),
    stroke(arc(30, 24.5, 3.6, 3.6, 195, 345), 2.4, GREEN),
] + mouth_lamps(GREEN, [1.5, 0.3, 0, 0.3, 1.5])

CYAN, CYAN_GLOW = (110, 230, 255), (50, 120, 150)
calm = robot(CYAN, CYAN_GLOW) + [
    rounded_rect(14, 21, 22, 24, 1.2, CYAN),
    rounded_rect(26, 21, 34, 24, 1.2, CYAN),
] + mouth_lamps(CYAN, [0.5, 0.5, 0.5, 0.5, 0.5])

BLUE, BLUE_GLOW = (90, 120, 230), (60, 64, 90)
down = robot(BLUE, BLUE_GLOW) + [
    # Lamps dimmed and sagging, an oil drop for a tear.
    polygon([(13.5, 23), (22.5, 20), (22.5, 22.5), (13.5, 25.5)], BLUE),
    polygon([(34.5, 23), (25.5, 20), (25.5, 22.5), (34.5, 25.5)], BLUE),
    polygon([(12, 30)] + arc(12, 33.5, 1.8, 2.2, -30, 210), (70, 70, 80)),
] + mouth_lamps(BLUE, [-0.3, 0.5, 1, 0.5, -0.3])

RED, RED_GLOW = (255, 90, 80), (170, 40, 40)
STEAM = (184, 192, 206)
busy = robot(RED, RED_GLOW) + [
    # Crossed-out lamp eyes, a jagged readout and steam from both sides.
    stroke([(14.5, 19.5), (21.5, 25.5)], 2.2, RED), stroke([(21.5, 19.5), (14.5, 25.5)], 2.2, RED),
    stroke([(26.5, 19.5), (33.5, 25.5)], 2.2, RED), stroke([(33.5, 19.5), (26.5, 25.5)], 2.2, RED),
    ellipse(4, 10, 2.6, 2.2, STEAM), ellipse(6.5, 6.5, 2, 1.7, STEAM),
    ellipse(44, 10, 2.6, 2.2, STEAM), ellipse(41.5, 6.5, 2, 1.7, STEAM),
] + mouth_lamps(RED, [0, 1.6, 0, 1.6, 0])

BACKGROUND = (250, 246, 228)
FACES = {"fine": (fine, BACKGROUND), "calm": (calm, BACKGROUND), "down": (down, BACKGROUND),
         "busy": (busy, BACKGROUND)}
