#!/usr/bin/python3
"""Draws every picture of the desktop program into res/.

The PNGs are committed; run this only to redraw them after changing a design:

    apt-get install python3-pil fonts-dejavu-core
    scripts/draw-pictures.py [--sheet /tmp/pictures.png]

Strips are 16 x 15 images side by side, drawn as character grids so that each
pixel is chosen by hand; '.' is the mask colour, which the first pixel of
every strip holds and no drawn pixel may use. The light falls from the top
left: highlights on top and left edges, shade on the bottom and right. Each
strip has a twin of 32 x 30 images ("@2x") for screens of twice the density,
drawn from the same grids with the Scale2x rule.
"""

import argparse
import math
import os
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RES = os.path.join(ROOT, "res")
FONT_DIR = "/usr/share/fonts/truetype/dejavu"

# The mask (transparent) colour of every strip. A mid grey that no icon uses.
MASK = (127, 127, 127)

# One palette for every small picture.
PALETTE = {
    ".": MASK,
    "K": (46, 52, 54),  # outline
    "D": (85, 87, 83),  # dark grey
    "G": (136, 138, 133),  # mid grey
    "g": (186, 189, 182),  # light grey: text lines
    "v": (211, 215, 207),  # page fold, light shade
    "w": (238, 238, 236),  # page shade, panel face
    "W": (255, 255, 255),
    "n": (32, 74, 135),  # blue, dark
    "B": (52, 101, 164),  # blue
    "b": (114, 159, 207),  # blue, light
    "i": (196, 216, 238),  # blue, pale
    "h": (176, 124, 14),  # folder, dark
    "F": (233, 185, 60),  # folder
    "f": (252, 228, 140),  # folder, light
    "z": (122, 78, 8),  # wood, dark
    "U": (173, 116, 36),  # wood
    "u": (222, 172, 100),  # wood, light
    "E": (78, 154, 6),  # green
    "e": (138, 226, 52),  # green, light
    "s": (164, 0, 0),  # red, dark
    "R": (204, 0, 0),  # red
    "r": (239, 41, 41),  # red, light
    "q": (206, 92, 0),  # orange, dark
    "O": (245, 121, 0),  # orange
    "o": (252, 175, 62),  # orange, light
}

W16, H15 = 16, 15

ICONS = {}


def icon(name, rows):
    if len(rows) != H15 or any(len(r) != W16 for r in rows):
        sys.exit("%s: %d rows of widths %s" % (name, len(rows), [len(r) for r in rows]))
    bad = {c for r in rows for c in r if c not in PALETTE}
    if bad:
        sys.exit("%s: unknown colours %s" % (name, "".join(sorted(bad))))
    ICONS[name] = rows


def overlay(base, top, dx, dy):
    """Draws the grid `top` over `base` at (dx, dy); '.' in `top` is see-through."""
    out = [list(r) for r in base]
    for y, row in enumerate(top):
        for x, c in enumerate(row):
            if c != "." and 0 <= y + dy < H15 and 0 <= x + dx < W16:
                out[y + dy][x + dx] = c
    return ["".join(r) for r in out]


BLANK = ["." * W16] * H15

# --- Shared motifs -------------------------------------------------------------------

# A page with a folded corner.
PAGE = [
    "................",
    "...KKKKKKK......",
    "...KWWWWWKK.....",
    "...KWWWWWKvK....",
    "...KWWWWWKvvK...",
    "...KWWWWWKKKKK..",
    "...KWWWWWWWWwK..",
    "...KWWWWWWWWwK..",
    "...KWWWWWWWWwK..",
    "...KWWWWWWWWwK..",
    "...KWWWWWWWWwK..",
    "...KWWWWWWWWwK..",
    "...KWWWWWWWWwK..",
    "...KwwwwwwwwwK..",
    "...KKKKKKKKKKK..",
]

# The template mark: a green label with a hole, pointing left.
TAG = [
    "...KKKKKK",
    "..KeeeeeK",
    ".KeeeeeeK",
    "KeeKeeeEK",
    ".KeEEEEEK",
    "..KEEEEEK",
    "...KKKKKK",
]

FOLDER_CLOSED = [
    "................",
    "................",
    ".KKKKK..........",
    "KfffffK.........",
    "KfFFFFFKKKKKKKK.",
    "KffffffffffffhK.",
    "KfFFFFFFFFFFFhK.",
    "KfFFFFFFFFFFFhK.",
    "KfFFFFFFFFFFFhK.",
    "KfFFFFFFFFFFFhK.",
    "KfFFFFFFFFFFFhK.",
    "KfFFFFFFFFFFFhK.",
    "KhhhhhhhhhhhhhK.",
    "KKKKKKKKKKKKKKK.",
    "................",
]

FOLDER_OPEN = [
    "................",
    "................",
    ".KKKK...........",
    "KffffK..........",
    "KfhhhhKKKKKKK...",
    "KfhhhhhhhhhhK...",
    "KfhhKKKKKKKKKKKK",
    "KfhhKffffffffffK",
    "KfhKfFFFFFFFFFK.",
    "KfhKfFFFFFFFFFK.",
    "KfKfFFFFFFFFFK..",
    "KfKfFFFFFFFFFK..",
    "KKFFFFFFFFFFK...",
    "KKKKKKKKKKKKK...",
    "................",
]

FLOPPY = [
    "................",
    ".KKKKKKKKKKKKKK.",
    ".KbWWWWWWWWWWBK.",
    ".KbWggggggggWBK.",
    ".KbWWWWWWWWWWBK.",
    ".KbWggggggggWBK.",
    ".KbWWWWWWWWWWBK.",
    ".KbBBBBBBBBBBBK.",
    ".KbBBBBBBBBBBBK.",
    ".KbBBvvvvvvvBBK.",
    ".KbBBvKKvvvvBBK.",
    ".KbBBvKKvvvvBBK.",
    ".KbBBvKKvvvvBBK.",
    ".KnnnvvvvvvvnnK.",
    ".KKKKKKKKKKKKKK.",
]

# A small globe, 7 x 7, for page files.
GLOBE_SMALL = [
    "..KKK..",
    ".KbeBK.",
    "KbeebBK",
    "KbbeBBK",
    "KbBBeBK",
    ".KBBnK.",
    "..KKK..",
]

# --- Main toolbar ---------------------------------------------------------------------

icon("new", PAGE)

icon("open", FOLDER_OPEN)

icon("save", FLOPPY)

TEMPLATE_PAGE = [
    "................",
    ".KKKKKKK........",
    ".KWWWWWKK.......",
    ".KWWWWWKvK......",
    ".KWggggKvvK.....",
    ".KWWWWWKKKKK....",
    ".KWggggggWwK....",
    ".KWWWWWWWWwK....",
    ".KWgggggWWwK....",
    ".KWWWWWWWWwK....",
    ".KWggggWWWwK....",
    ".KWWWWWWWWwK....",
    ".KwwwwwwwwwK....",
    ".KKKKKKKKKKK....",
    "................",
]

icon("template_new", overlay(TEMPLATE_PAGE, TAG, 7, 8))

FOLDER_OPEN_SMALL = overlay(BLANK, FOLDER_OPEN[1:14], 0, 0)
icon("template_open", overlay(FOLDER_OPEN_SMALL, TAG, 7, 8))

icon("template_save", overlay(FLOPPY, TAG, 7, 8))

CROSS = [
    "KK...KK",
    "KrK.KrK",
    ".KrKrK.",
    "..KRK..",
    ".KRKRK.",
    "KRK.KRK",
    "KK...KK",
]
icon("template_close", overlay(overlay(TEMPLATE_PAGE, TAG, 7, 8), CROSS, 9, 0))

icon("cut", [
    "................",
    "..KK........KK..",
    "..KwK......KgK..",
    "...KwK....KgK...",
    "....KwK..KgK....",
    ".....KwKKgK.....",
    "......KwgK......",
    "......KDDK......",
    ".....KRKKRK.....",
    "..KKKRK..KRKKK..",
    ".KrRRsK..KrRRsK.",
    ".KRK.RK..KRK.RK.",
    ".KRK.RK..KRK.RK.",
    ".KsRRRK..KsRRRK.",
    "..KKKK....KKKK..",
])

icon("copy", [
    "................",
    ".KKKKKKKKK......",
    ".KWWWWWWWK......",
    ".KWggggWWK......",
    ".KWWWWWWWK......",
    ".KWgggKKKKKKKKK.",
    ".KWWWWKWWWWWWWK.",
    ".KWgggKWggggWwK.",
    ".KWWWWKWWWWWWwK.",
    ".KWgggKWgggggwK.",
    ".KKKKKKWWWWWWwK.",
    "......KWggggWwK.",
    "......KWWWWWWwK.",
    "......KwwwwwwwK.",
    "......KKKKKKKKK.",
])

icon("paste", [
    "................",
    ".....KKKKK......",
    "..KKKKgWgKKKK...",
    ".KuUKGGGGGKUzK..",
    ".KuUUKKKKKUUzK..",
    ".KuUUUUUUUUUzK..",
    ".KuUUUKKKKKKKKK.",
    ".KuUUUKWWWWWWWK.",
    ".KuUUUKWggggWwK.",
    ".KuUUUKWWWWWWwK.",
    ".KuUUUKWgggggwK.",
    ".KuUUUKWWWWWWwK.",
    ".KzzzzKWggggWwK.",
    ".KKKKKKwwwwwwwK.",
    "......KKKKKKKKK.",
])

CIRCLE_ABOUT = [
    "................",
    ".....KKKKKK.....",
    "...KKbbbbbbKK...",
    "..KbbbbWWbbbBK..",
    "..KbbbbWWbbbBK..",
    ".KbbbbbbbbbbBBK.",
    ".KbbbbWWWbbBBBK.",
    ".KbbbbbWWbBBBBK.",
    ".KbbbbbWWBBBBBK.",
    ".KbbbbbWWBBBBBK.",
    "..KbbbbWWBBBBK..",
    "..KbBBWWWWBBnK..",
    "...KKBBBBBnKK...",
    ".....KKKKKK.....",
    "................",
]
icon("about", CIRCLE_ABOUT)

icon("help", [
    "................",
    "...KKKKKKKKKK...",
    "..KeeeeeeeeeeK..",
    "..KeEEWWWWEEEK..",
    "..KeEWWEEWWEEK..",
    "..KeEEEEEWWEEK..",
    "..KeEEEEWWEEEK..",
    "..KeEEEWWEEEEK..",
    "..KeEEEWWEEEEK..",
    "..KeEEEEEEEEEK..",
    "..KeEEEWWEEEEK..",
    "..KEEEEEEEEEEK..",
    "..KEKWWWWWWWWK..",
    "...KKKKKKKKKKK..",
    "................",
])

# --- View toolbar ---------------------------------------------------------------------

icon("browse", [
    "................",
    ".KKK............",
    "KfffKKKK........",
    "KFFFFFFK.DDDDD..",
    "KhhhhhhK........",
    "KKKKKKKK........",
    "..G.............",
    "..G..KKK........",
    "..G.KfffKK......",
    "..GGKFFFFK.DDDD.",
    "..G.KKKKKK......",
    "..G...KKKK......",
    "..G...KWWKK.....",
    "..GGGGKWWWK.DDD.",
    "......KKKKK.....",
])

icon("all_fields", [
    "................",
    ".KKKKKKKKKKKKKK.",
    ".KWWWWWWWWWWWWK.",
    ".KWBBWGGGGGGWwK.",
    ".KWWWWWWWWWWWwK.",
    ".KWBBWGGGGGWWwK.",
    ".KWWWWWWWWWWWwK.",
    ".KWBBWGGGGGGGwK.",
    ".KWWWWWWWWWWWwK.",
    ".KWBBWGGGGWWWwK.",
    ".KWWWWWWWWWWWwK.",
    ".KWBBWGGGGGGWwK.",
    ".KwwwwwwwwwwwwK.",
    ".KKKKKKKKKKKKKK.",
    "................",
])

# Three labelled input boxes with space between them, so that the form still
# reads as one in the one-colour silhouette of a disabled or current button.
FORM_ROW = [
    ".....KKKKKKKKKK.",
    ".bBB.KWWWWWWWwK.",
    ".BBn.KwwwwwwwwK.",
    ".....KKKKKKKKKK.",
]
FORM = ["." * W16] + FORM_ROW + ["." * W16] + FORM_ROW + ["." * W16] + FORM_ROW
icon("metadata", FORM)

GLOBE = [
    "................",
    ".....KKKKKK.....",
    "...KKbbeebbKK...",
    "..KbeeeeebbbBK..",
    "..KbeeeEEbbeBK..",
    ".KbbbeeEbbbeeBK.",
    ".KbbbbeEbbeeEBK.",
    ".KbbbbbEbbbeEBK.",
    ".KbbbbbbeebbEBK.",
    ".KbbbbbbeeEBBBK.",
    "..KbbbbbeEEBBK..",
    "..KbBBBBBEBBnK..",
    "...KKBBBBBnKK...",
    ".....KKKKKK.....",
    "................",
]
icon("webpage", GLOBE)

# The form above the page, two panes apart, as the split view shows them.
icon("split", [
    "................",
    ".KKKKKKKKKKKKKK.",
    ".KwBBBwwwwwwwvK.",
    ".KwGWWWWWWWWGvK.",
    ".KwGGGGGGGGGGvK.",
    ".KKKKKKKKKKKKKK.",
    "................",
    ".KKKKKKKKKKKKKK.",
    ".KbbbbeebbbbbBK.",
    ".KbbbeeeEbbbbBK.",
    ".KbbbbeEbbbeeBK.",
    ".KbbbbbbbbbEEBK.",
    ".KbBBBBBBBBEEnK.",
    ".KKKKKKKKKKKKKK.",
    "................",
])

# Every page of the site in one table: a header row, the paths and their
# values, and a finding marked in red.
icon("site", [
    "................",
    ".KKKKKKKKKKKKKK.",
    ".KbBBBKbBBBBBBK.",
    ".KKKKKKKKKKKKKK.",
    ".KWWWWKWWWWWWwK.",
    ".KggWWKgggggWwK.",
    ".KWWWWKWWWWWWwK.",
    ".KggWWKggggrRwK.",
    ".KWWWWKWWWWRswK.",
    ".KggWWKgggWWWwK.",
    ".KWWWWKWWWWWWwK.",
    ".KggWWKggggggwK.",
    ".KwwwwKwwwwwwwK.",
    ".KKKKKKKKKKKKKK.",
    "................",
])

# --- File tree ------------------------------------------------------------------------

HOUSE = [
    "...K...",
    "..KRK..",
    ".KRRRK.",
    "KRRRRRK",
    "KKWWWKK",
    ".KWKWK.",
    ".KWKWK.",
    ".KKKKK.",
]
icon("tree_root", overlay(FOLDER_CLOSED, HOUSE, 9, 7))
icon("tree_folder", FOLDER_CLOSED)
icon("tree_folder_open", FOLDER_OPEN)
icon("tree_page", overlay(PAGE, GLOBE_SMALL, 9, 8))
icon("tree_template", overlay(TEMPLATE_PAGE, TAG, 7, 8))

# --- Strips ---------------------------------------------------------------------------

STRIPS = {
    "toolbar_main.png": (192, ["new", "open", "save", "template_new", "template_open",
                               "template_save", "template_close", "cut", "copy", "paste",
                               "about", "help"]),
    "toolbar_view.png": (96, ["browse", "all_fields", "metadata", "webpage", "split", "site"]),
    "tabs.png": (81, ["metadata", "webpage"]),
    # Images 1 and 6 to 10 are spare; 5 is a template file, for a tree that tells them apart.
    "file_tree.png": (176, ["tree_root", None, "tree_folder", "tree_folder_open", "tree_page",
                            "tree_template"]),
}


def scale2x(grid):
    """The grid at twice its size by the Scale2x rule: every pixel becomes four,
    and a corner takes the colour of the two neighbours it lies between when they
    agree and the other two do not, so that diagonal edges step by one pixel
    instead of two. Works on rows of characters or of colours."""
    h, w = len(grid), len(grid[0])
    out = [[None] * (2 * w) for _ in range(2 * h)]
    for y in range(h):
        for x in range(w):
            p = grid[y][x]
            a = grid[y - 1][x] if y > 0 else p  # above
            b = grid[y][x + 1] if x < w - 1 else p  # right
            c = grid[y][x - 1] if x > 0 else p  # left
            d = grid[y + 1][x] if y < h - 1 else p  # below
            out[2 * y][2 * x] = a if c == a and c != d and a != b else p
            out[2 * y][2 * x + 1] = b if a == b and a != c and b != d else p
            out[2 * y + 1][2 * x] = c if d == c and d != b and c != a else p
            out[2 * y + 1][2 * x + 1] = d if b == d and b != a and d != c else p
    return out


def draw_strip(width, names, scale=1):
    """The strip of the named icons; at scale 2 each icon is drawn by scale2x,
    twice as wide and high, for screens of twice the density."""
    img = Image.new("RGB", (width * scale, H15 * scale), MASK)
    px = img.load()
    for n, name in enumerate(names):
        if name is None:
            continue
        rows = ICONS[name] if scale == 1 else scale2x(ICONS[name])
        for y, row in enumerate(rows):
            for x, c in enumerate(row):
                px[n * W16 * scale + x, y] = PALETTE[c]
    return img


def image_scale2x(img):
    px = img.load()
    grid = [[px[x, y] for x in range(img.width)] for y in range(img.height)]
    big = scale2x(grid)
    out = Image.new(img.mode, (img.width * 2, img.height * 2))
    out.putdata([p for row in big for p in row])
    return out


def check_mask(img, name, drawn):
    """Fails when a drawn pixel has the mask colour or the first pixel is not the mask."""
    if img.getpixel((0, 0)) != MASK:
        sys.exit("%s: the first pixel is not the mask colour" % name)
    for (x, y) in drawn:
        if img.getpixel((x, y)) == MASK:
            sys.exit("%s: pixel %d,%d has the mask colour" % (name, x, y))


# --- Close button ---------------------------------------------------------------------

def draw_close_button():
    """A small cross on a flat face with a hairline frame. Each stroke is two pixels
    wide along the rows, which reads bold yet keeps the edges sharp."""
    face, frame, ink = (236, 236, 234), (196, 199, 194), (64, 68, 70)
    img = Image.new("RGB", (18, 18), face)
    ImageDraw.Draw(img).rectangle((0, 0, 17, 17), outline=frame)
    for k in range(7):
        for x in (5 + k, 6 + k, 11 - k, 12 - k):
            img.putpixel((x, 5 + k), ink)
    return img


# --- Background tile ------------------------------------------------------------------

def draw_background():
    """A light, low-contrast weave that tiles seamlessly (every period divides 100)."""
    base = (246, 247, 250)
    img = Image.new("RGB", (100, 100), base)
    px = img.load()
    for y in range(100):
        for x in range(100):
            r, g, b = base
            # Faint diagonal threads, 10 pixels apart in both directions.
            if (x + y) % 10 == 0 or (x - y) % 10 == 0:
                r, g, b = r - 5, g - 4, b - 2
            # A touch of warmth on every fifth crossing, to break the grid up.
            if x % 20 == 0 and y % 20 == 0:
                r, g, b = r - 9, g - 7, b - 3
            px[x, y] = (r, g, b)
    return img


# --- Application icon -----------------------------------------------------------------

# The design of res/icons/tsle.svg on its 256 grid; keep the two in step. Shapes
# are given by the middle of their 8-unit outline, as in the SVG. Coordinates are
# multiples of 4, so the outlines fall on whole pixels from 64 pixels up; below
# that every corner is snapped to the pixel grid, which keeps the edges sharp.
OUTLINE = (46, 52, 54)
TAG_OUTLINE = (140, 60, 0)
PAGE_POLY = [(40, 16), (160, 16), (208, 64), (208, 240), (40, 240)]
FOLD_POLY = [(160, 16), (160, 64), (208, 64)]
BAND = (64, 44, 136, 72)  # the title band: x0, y0, x1, y1
LINES = [(64, 92, 184, 104), (64, 116, 176, 128), (64, 140, 120, 152)]
TAG_POLY = [(96, 184), (128, 152), (240, 152), (240, 216), (128, 216)]
TAG_HOLE = (132, 184, 12)  # the middle of its 6-unit ring
TAG_LINES = [(156, 172, 220, 180), (156, 188, 204, 196)]
STROKE = 8


def offset_polygon(pts, d):
    """The polygon `pts` grown by d (shrunk for d < 0), with mitred corners."""
    area = sum(x0 * y1 - x1 * y0 for (x0, y0), (x1, y1) in zip(pts, pts[1:] + pts[:1]))
    sign = 1 if area > 0 else -1
    lines = []
    for (x0, y0), (x1, y1) in zip(pts, pts[1:] + pts[:1]):
        length = math.hypot(x1 - x0, y1 - y0)
        nx, ny = sign * (y1 - y0) / length, -sign * (x1 - x0) / length
        lines.append(((x0 + nx * d, y0 + ny * d), (x1 - x0, y1 - y0)))
    out = []
    for k in range(len(lines)):
        (px, py), (ax, ay) = lines[k - 1]
        (qx, qy), (bx, by) = lines[k]
        den = ax * by - ay * bx
        t = ((qx - px) * by - (qy - py) * bx) / den
        out.append((px + ax * t, py + ay * t))
    return out


def gradient(size, top, bottom):
    w, h = size
    img = Image.new("RGB", size)
    d = ImageDraw.Draw(img)
    for y in range(h):
        t = y / max(1, h - 1)
        d.line([(0, y), (w, y)], fill=tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)))
    return img


def draw_icon_vector(size):
    """Renders the icon design at `size` pixels, over-sampled from 48 pixels up; the
    smaller sizes keep their diagonals as hard pixel steps."""
    S = 4 if size >= 48 else 1
    f = size / 256
    w = max(1, round(STROKE * f))  # the outline in whole pixels

    def px(v):  # a design coordinate to a snapped pixel edge, halves rounded up
        return math.floor(v * f + 0.5)

    def poly(pts):
        return [(px(x) * S, px(y) * S) for x, y in pts]

    rgb = Image.new("RGB", (size * S, size * S), (255, 255, 255))
    alpha = Image.new("L", rgb.size, 0)
    d = ImageDraw.Draw(rgb)

    def fill(pts, colour, layer=None):
        # Pillow fills the pixels on the edge too: pull the edges in by half a
        # sample so that abutting shapes and the picture's border stay exact.
        (layer or d).polygon(offset_polygon(pts, -0.5), fill=colour)

    def shaded(pts, top, bottom):
        mask = Image.new("L", rgb.size, 0)
        fill(pts, 255, ImageDraw.Draw(mask))
        ys = [y for _, y in pts]
        grad = Image.new("RGB", rgb.size, bottom)
        y0, y1 = int(min(ys)), int(max(ys))
        grad.paste(gradient((rgb.size[0], max(1, y1 - y0)), top, bottom), (0, y0))
        rgb.paste(grad, (0, 0), mask)

    def outlined(pts, line, top, bottom):
        outer = poly(offset_polygon(pts, STROKE / 2))
        fill(outer, line)
        fill(outer, 255, ImageDraw.Draw(alpha))
        shaded(offset_polygon(outer, -w * S), top, bottom)

    def bar(box, colour):
        x0, y0, x1, y1 = (px(v) * S for v in box)
        if y1 <= y0:
            y1 = y0 + S
        radius = min(4 * f * S, (y1 - y0) / 2) if S > 1 else 0
        d.rounded_rectangle((x0, y0, x1 - 1, y1 - 1), radius=radius, fill=colour)

    half = STROKE // 2
    outlined(PAGE_POLY, OUTLINE, (255, 255, 255), (228, 231, 224))
    # The fold: a shaded triangle and the outline of its two inner edges.
    (fx, fy), (_, gy), (gx, _) = FOLD_POLY
    fold = poly([(fx, fy), (fx, gy), (gx, gy)])
    shaded(offset_polygon(fold, -w * S / 2), (238, 238, 236), (196, 200, 190))
    x0, y0, x1, y1 = px(fx - half) * S, px(fy - half) * S, px(fx - half) * S + w * S, \
        px(gy - half) * S + w * S
    d.rectangle((x0, y0, x1 - 1, y1 - 1), fill=OUTLINE)
    d.rectangle((x0, px(gy - half) * S, px(gx + half) * S - 1, y1 - 1), fill=OUTLINE)
    bar(BAND, (52, 101, 164))
    for box in LINES:
        bar(box, (186, 189, 182))
    outlined(TAG_POLY, TAG_OUTLINE, (252, 175, 62), (230, 110, 0))
    cx, cy, r = TAG_HOLE
    if size < 48:
        # A white pixel in a ring of the outline colour.
        hx, hy = int(cx * f) * S, int(cy * f) * S
        d.rectangle((hx - S, hy - S, hx + 2 * S - 1, hy + 2 * S - 1), fill=TAG_OUTLINE)
        d.rectangle((hx, hy, hx + S - 1, hy + S - 1), fill=(255, 255, 255))
    else:
        ring = 6 * f * S
        for radius, colour in ((r * f * S + ring / 2, TAG_OUTLINE),
                               (r * f * S - ring / 2, (255, 255, 255))):
            d.ellipse((cx * f * S - radius, cy * f * S - radius, cx * f * S + radius,
                       cy * f * S + radius), fill=colour)
    # Below 24 pixels the two lines of the label would run into one.
    for box in TAG_LINES[:1] if size < 24 else TAG_LINES:
        bar(box, (255, 244, 222))
    out = rgb.convert("RGBA")
    out.putalpha(alpha)
    return out.resize((size, size), Image.BOX)


# Hand-placed pixels for the small sizes, where the vector design would blur.
ICON_16 = [
    "................",
    "..KKKKKKKK......",
    "..KWWWWWWKK.....",
    "..KWBBBBWKvK....",
    "..KWWWWWWKKKK...",
    "..KWggggggWwK...",
    "..KWWWWWWWWwK...",
    "..KWgggggWWwK...",
    "..KWWWWWWWWwK...",
    "..KWgggqqqqqqqqq",
    "..KWWWqooooooooq",
    "..KWWqoWocccccoq",
    "..KWWWqOOOOOOOOq",
    "..Kwwwwqqqqqqqqq",
    "..KKKKKKKKKKK...",
    "................",
]

ICON_PALETTE = dict(PALETTE)
ICON_PALETTE["q"] = TAG_OUTLINE
ICON_PALETTE["c"] = (255, 244, 222)


def draw_icon_pixels(rows):
    img = Image.new("RGBA", (len(rows[0]), len(rows)), (0, 0, 0, 0))
    for y, row in enumerate(rows):
        for x, c in enumerate(row):
            if c != ".":
                img.putpixel((x, y), ICON_PALETTE[c] + (255,))
    return img


# --- Splash ---------------------------------------------------------------------------

def font(name, size):
    return ImageFont.truetype(os.path.join(FONT_DIR, name), size)


def draw_splash():
    W, H, S = 459, 280, 3
    img = Image.new("RGB", (W * S, H * S))
    d = ImageDraw.Draw(img)
    top, bottom = (28, 64, 112), (16, 110, 140)
    for y in range(H * S):
        for_x = y / (H * S - 1)
        c = tuple(round(a + (b - a) * for_x) for a, b in zip(top, bottom))
        d.line([(0, y), (W * S, y)], fill=c)
    # Soft light from the top left.
    glow = Image.new("L", img.size, 0)
    ImageDraw.Draw(glow).ellipse((-220 * S, -280 * S, 300 * S, 190 * S), fill=40)
    img.paste((255, 255, 255), (0, 0), glow.filter(ImageFilter.GaussianBlur(40 * S)))

    # A stylised page with its tags, right of centre.
    def P(pts):
        return [(x * S, y * S) for x, y in pts]

    px, py = 300, 46
    page = [(px, py), (px + 92, py), (px + 124, py + 32), (px + 124, py + 186), (px, py + 186)]
    shadow = Image.new("L", img.size, 0)
    ImageDraw.Draw(shadow).polygon(P([(x + 6, y + 7) for x, y in page]), fill=70)
    img.paste((8, 30, 60), (0, 0), shadow)
    d.polygon(P(page), fill=(250, 251, 252))
    d.polygon(P([(px + 92, py), (px + 92, py + 32), (px + 124, py + 32)]), fill=(205, 214, 226))
    d.rounded_rectangle(P([(px + 16, py + 22), (px + 74, py + 36)]), radius=3 * S,
                        fill=(52, 101, 164))
    for i, w in enumerate((92, 84, 96, 60)):
        y = py + 52 + i * 16
        d.rounded_rectangle(P([(px + 16, y), (px + 16 + w, y + 7)]), radius=3 * S,
                            fill=(196, 204, 214))

    def tag(x, y, w, colour, dark, text):
        pts = [(x, y + 14), (x + 14, y), (x + w, y), (x + w, y + 28), (x + 14, y + 28)]
        sh = Image.new("L", img.size, 0)
        ImageDraw.Draw(sh).polygon(P([(a + 4, b + 5) for a, b in pts]), fill=80)
        img.paste((8, 30, 60), (0, 0), sh)
        d.polygon(P(pts), fill=colour, outline=dark)
        d.ellipse(P([(x + 12, y + 11), (x + 18, y + 17)]), fill=(250, 251, 252))
        f = font("DejaVuSansMono-Bold.ttf", 13 * S)
        d.text(((x + 24) * S, (y + 14) * S), text, font=f, fill=(255, 255, 255), anchor="lm")

    tag(266, 150, 96, (245, 121, 0), (206, 92, 0), "<meta>")
    tag(284, 188, 104, (78, 154, 6), (60, 120, 4), "<title>")

    # The name and the lines under it.
    white = (255, 255, 255)
    d.text((34 * S, 96 * S), "TSLE", font=font("DejaVuSans-Bold.ttf", 64 * S), fill=white,
           anchor="ls")
    d.line([(36 * S, 112 * S), (250 * S, 112 * S)], fill=(252, 175, 62), width=2 * S)
    d.text((36 * S, 136 * S), "Meta-data editor for web pages",
           font=font("DejaVuSans.ttf", 15 * S), fill=(226, 236, 246), anchor="ls")
    d.text((36 * S, 250 * S), "Version 1.0.1", font=font("DejaVuSans.ttf", 12 * S),
           fill=(186, 208, 228), anchor="ls")
    img = img.resize((W, H), Image.LANCZOS)
    # A thin frame, since the splash has no window border.
    ImageDraw.Draw(img).rectangle((0, 0, W - 1, H - 1), outline=(12, 40, 76))
    return img


# --- Main -----------------------------------------------------------------------------

def save(img, rel):
    path = os.path.join(RES, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    img.save(path, optimize=True)
    return path


def contact_sheet(pictures, path):
    """Every picture enlarged, strips on a light toolbar grey with the mask taken out."""
    pad, label_h = 12, 18
    f = font("DejaVuSans.ttf", 12)
    rows = []
    for name, img, k in pictures:
        if img.mode == "RGBA":
            back = Image.new("RGBA", img.size, (226, 230, 236, 255))
            img = Image.alpha_composite(back, img)
        img = img.convert("RGB")
        if name.endswith(".png") and img.height in (H15, 2 * H15):
            data = [(239, 239, 239) if p == MASK else p for p in img.getdata()]
            img = Image.new("RGB", img.size)
            img.putdata(data)
        rows.append((name, img.resize((img.width * k, img.height * k), Image.NEAREST)))
    width = max(b.width for _, b in rows) + 2 * pad
    height = sum(b.height + label_h + pad for _, b in rows) + pad
    sheet = Image.new("RGB", (width, height), (255, 255, 255))
    d = ImageDraw.Draw(sheet)
    y = pad
    for name, big in rows:
        d.text((pad, y), name, font=f, fill=(0, 0, 0))
        y += label_h
        sheet.paste(big, (pad, y))
        y += big.height + pad
    sheet.save(path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sheet", help="also write a contact sheet of every picture here")
    args = parser.parse_args()

    pictures = []
    for file, (width, names) in STRIPS.items():
        img = draw_strip(width, names)
        drawn = [(n * W16 + x, y) for n, name in enumerate(names) if name
                 for y, row in enumerate(ICONS[name]) for x, c in enumerate(row) if c != "."]
        check_mask(img, file, drawn)
        save(img, "images/" + file)
        pictures.append((file, img, 8))
        # The twin for screens of twice the density (QIcon picks it there).
        big = draw_strip(width, names, 2)
        check_mask(big, file.replace(".png", "@2x.png"),
                   [(n * 2 * W16 + x, y) for n, name in enumerate(names) if name
                    for y, row in enumerate(scale2x(ICONS[name]))
                    for x, c in enumerate(row) if c != "."])
        save(big, "images/" + file.replace(".png", "@2x.png"))
        pictures.append((file.replace(".png", "@2x.png"), big, 4))

    close = draw_close_button()
    for file, img in (("close_button.png", close),
                      ("close_button@2x.png", image_scale2x(close)),
                      ("background.png", draw_background()),
                      ("splash.png", draw_splash())):
        save(img, "images/" + file)
        pictures.append((file, img, {"close_button.png": 8, "close_button@2x.png": 4,
                                     "background.png": 3}.get(file, 1)))

    for n in (16, 22, 24, 32, 48, 64, 128, 256):
        img = draw_icon_pixels(ICON_16) if n == 16 else draw_icon_vector(n)
        save(img, "icons/hicolor/%dx%d/apps/tsle.png" % (n, n))
        pictures.append(("tsle.png %d" % n, img, 8 if n <= 32 else 1))
    save(draw_icon_vector(256), "icons/tsle.png")

    if args.sheet:
        contact_sheet(pictures, args.sheet)


if __name__ == "__main__":
    main()
