"""The emblem: three copies of one arm (the font's "%" glyph) about a common centre.

The show places the copies with fixed offsets: the first as it stands, the
second moved by PLACEMENTS[1] and turned 240 degrees about its own origin, the
third moved by PLACEMENTS[2] and turned 120 degrees. A turn about the origin
followed by a move equals a turn about a centre C only if move = C - R C, so
the arm is drawn about the centre that fits both moves best; the two moves then
agree with it to within a few thousandths of the em, far below a stroke.
"""
import math

import numpy as np

PLACEMENTS = ((0.0, 0.0, 0.0), (0.145, 0.14, 240.0), (0.19, -0.05, 120.0))

INNER_RADIUS = 0.08
OUTER_RADIUS = 0.5
INNER_SPAN_DEG = 78.0
SWIRL_DEG = 85.0
POINTING_DEG = 90.0


def rotation(degrees):
    a = math.radians(degrees)
    return np.array([[math.cos(a), -math.sin(a)], [math.sin(a), math.cos(a)]])


def emblem_centre():
    """Least-squares centre C (em units) with (I - R) C = move for both turned copies."""
    rows = []
    moves = []
    for dx, dy, degrees in PLACEMENTS[1:]:
        rows.append(np.eye(2) - rotation(degrees))
        moves.append([dx, dy])
    centre, *_ = np.linalg.lstsq(np.vstack(rows), np.concatenate(moves), rcond=None)
    return centre


def polar(centre, radius, degrees):
    a = math.radians(degrees)
    return (centre[0] + radius * math.cos(a), centre[1] + radius * math.sin(a))


def edge_angles(u):
    """Leading and trailing edge angles of the arm at relative radius u (0 inner, 1 tip)."""
    half = INNER_SPAN_DEG / 2.0
    sweep = POINTING_DEG + SWIRL_DEG * u ** 1.4
    leading = sweep + half * (1.0 - u) ** 0.8 * (1.0 + 1.3 * u)
    trailing = sweep - half * (1.0 - u) ** 1.6
    return leading, trailing


def arm_edges(samples):
    """The arm's outline in em units, about the fitted centre: leading edge (inner to
    tip), trailing edge (tip to inner) and inner arc (back to the start)."""
    centre = emblem_centre()
    radius = lambda u: INNER_RADIUS + (OUTER_RADIUS - INNER_RADIUS) * u
    # Samples crowd towards the tip, where the edges turn fastest.
    us = [1.0 - (1.0 - i / samples) ** 1.7 for i in range(samples + 1)]
    leading = [polar(centre, radius(u), edge_angles(u)[0]) for u in us]
    trailing = [polar(centre, radius(u), edge_angles(u)[1]) for u in reversed(us)]
    start = edge_angles(0.0)
    arc = [polar(centre, INNER_RADIUS, start[1] + (start[0] - start[1]) * i / samples)
           for i in range(samples + 1)]
    return leading, trailing, arc


def placed_copies(points):
    """The three copies of a point list, as the show's emblem routine places them."""
    copies = []
    for dx, dy, degrees in PLACEMENTS:
        turn = rotation(degrees)
        copies.append([tuple(turn @ np.array(p) + np.array([dx, dy])) for p in points])
    return copies
