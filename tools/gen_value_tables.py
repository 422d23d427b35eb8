#!/usr/bin/env python3
"""Generates the ten value tables T0..T9 of src/convert/ValueTableData.cpp.

Tables given by a formula take the integer nearest to it (computed exactly
with fractions; a halfway value is an error). The others are the listed
values. Run it from anywhere; it rewrites only the generated region.
"""

import os
import sys
from fractions import Fraction

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from gen_common import rewrite_region  # noqa: E402

TARGET = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "convert", "ValueTableData.cpp")


def nearest(x):
    x = Fraction(x)
    floor = x.numerator // x.denominator
    rest = x - floor
    if rest == Fraction(1, 2):
        sys.exit("value %s lies halfway between two integers" % x)
    return floor + (1 if rest > Fraction(1, 2) else 0)


T4_VALUES = [
    5, 5, 10, 15, 15, 20, 25, 30, 35, 40, 40, 45, 50, 55, 60, 65, 65, 70, 75, 80, 85, 90, 95, 95, 100, 105,
    110, 115, 120, 120, 125, 130, 135, 140, 145, 145, 150, 155, 160, 165, 170, 170, 175, 180, 185, 190, 195,
    200, 200, 205, 210, 215, 220, 225, 225, 230, 235, 240, 245, 250, 250, 255, 260, 265, 270, 280, 285, 295,
    305, 310, 320, 330, 335, 345, 355, 360, 370, 385, 405, 420, 435, 455, 470, 490, 505, 520, 540, 555, 570,
    605, 640, 675, 705, 740, 775, 810, 840, 875, 910, 940, 975, 1010, 1080, 1140, 1210, 1280, 1350, 1410,
    1480, 1550, 1620, 1680, 1750, 1820, 1950, 2090, 2220, 2360, 2490, 2620, 2760, 2890, 3030, 3160, 3300,
    3430, 3700, 3970,
]

T5_HIGH = [111, 122, 133, 144, 155, 171, 186, 202, 218, 233, 249, 265, 280, 296, 312, 328, 343, 359, 375, 390,
           406, 422, 437, 453, 469, 484, 500]

T7_VALUES = [
    10, 32, 64, 95, 127, 158, 190, 221, 253, 284, 316, 347, 379, 410, 442, 473, 505, 536, 568, 599, 631, 662,
    694, 725, 757, 788, 820, 851, 883, 914, 946, 977, 1009, 1040, 1072, 1103, 1135, 1166, 1198, 1229, 1261,
    1292, 1324, 1355, 1386, 1418, 1449, 1481, 1512, 1544, 1575, 1607, 1638, 1670, 1701, 1733, 1764, 1796,
    1827, 1859, 1890, 1922, 1953, 1985, 2016, 2048, 2079, 2111, 2142, 2174, 2205, 2237, 2268, 2300, 2331,
    2363, 2394, 2426, 2457, 2489, 2520, 2552, 2583, 2615, 2646, 2677, 2709, 2740, 2772, 2803, 2835, 2866,
    2898, 2929, 2961, 2992, 3024, 3055, 3087, 3118, 3150, 3181, 3213, 3244, 3276, 3307, 3339, 3370, 3402,
    3433, 3465, 3496, 3528, 3559, 3591, 3622, 3654, 3685, 3717, 3748, 3780, 3811, 3843, 3874, 3906, 3937,
    3969, 4000,
]

T9_VALUES = [
    5, 15, 20, 25, 35, 40, 45, 55, 60, 65, 75, 80, 84, 89, 94, 99, 105, 111, 117, 124, 131, 139, 147, 155, 164,
    173, 183, 194, 205, 217, 229, 242, 256, 271, 286, 303, 320, 338, 358, 378, 400, 422, 447, 472, 499, 527,
    558, 589, 623, 659, 696, 736, 778, 823, 870, 919, 972, 1020, 1080, 1140, 1210, 1280, 1350, 1430, 1510,
    1600, 1690, 1790, 1890, 2000, 2110, 2230, 2360, 2490, 2640, 2790, 2950, 3110, 3290, 3480, 3680, 3890,
    4110, 4350, 4590, 4860, 5130, 5430, 5740, 6070, 6410, 6780, 7170, 7570, 8010, 8460, 8950, 9460, 10000,
    10500, 11100, 11800, 12400, 13200, 13900, 14700, 15500, 16400, 17400, 18400, 19400, 20500, 21700, 22900,
    24300, 25600, 27100, 28700, 30300, 32000, 33900, 35800, 37900, 40000, 42300, 44700, 47300, 50000,
]


def tables():
    t = []
    t.append([(3, 0), (4, 1), (5, 1), (6, 2), (7, 2), (8, 3), (9, 3), (10, 4), (11, 4)])
    t.append([(k, nearest(100 - Fraction(100 * k, 126))) for k in range(0, 127)])
    t.append([(k, nearest(60 + Fraction(5 * k, 3))) for k in range(-24, 25)])
    t.append([(k, nearest(1 + Fraction(1999 * k, 127))) for k in range(0, 128)])
    t.append(list(enumerate(T4_VALUES)))
    t.append([(k, k) for k in range(0, 101)] + list(zip(range(101, 128), T5_HIGH)))
    t.append([(k, min(T4_VALUES[k], 1000)) for k in range(64, 128)])
    t.append(list(enumerate(T7_VALUES)))
    t.append([(k, nearest(1 + Fraction(199 * k, 127))) for k in range(0, 128)])
    t.append(list(enumerate(T9_VALUES)))
    return t


EXPECTED_SIZES = [9, 127, 49, 128, 128, 128, 64, 128, 128, 128]


def main():
    t = tables()
    for n, (rows, size) in enumerate(zip(t, EXPECTED_SIZES)):
        if len(rows) != size:
            sys.exit("T%d has %d pairs, expected %d" % (n, len(rows), size))
        keys = [k for k, _ in rows]
        if keys != sorted(set(keys)):
            sys.exit("T%d keys are not strictly ascending" % n)
    lines = []
    for n, rows in enumerate(t):
        lines.append("const ValuePair kT%d[] = {" % n)
        for i in range(0, len(rows), 8):
            chunk = rows[i:i + 8]
            lines.append("    " + " ".join("{%d, %d}," % pair for pair in chunk))
        lines.append("};")
    rewrite_region(TARGET, "gen_value_tables.py", lines)


if __name__ == "__main__":
    main()
