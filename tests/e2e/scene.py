"""What a player sees on the Zentaris screen, read from screenshots.

The game draws its 800 x 600 picture unscaled into the full-screen window, so a screenshot holds
the game's bitmaps pixel for pixel: a page is recognised by how much of its bitmap shows, a horse
or a lives display by which frame of its sheet it shows, and apples, task texts and bolts by
their colours.
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "support"))
import headless  # noqa: E402

# Places on the screen (top-left corner, width, height).
NAME_FIELD = (520, 270, 270, 30)
TABLE_START = (511, 393)
TABLE_HELP = (403, 417)
TABLE_ROW_HEIGHT = 20
TABLE_FIRST_ROW_Y = 7
HELP_PAGE = (100, 30)
SCORE_DIGITS = (700, 17, 88, 16)
FINAL_SCORE = (346, 460, 88, 16)
HORSES = {"left": (10, 384), "right": (520, 384)}
HORSE_FRAME = (270, 211)
LIVES = {"left": (221, 555), "right": (457, 555)}
LIVES_FRAME = (128, 40)
FLASH_BOX = (364, 308, 32, 32)  # the glow over the start of the bolts

APPLE_RED = (0xc8, 0x26, 0x2b)
WHITE = (255, 255, 255)
BOLT_YELLOW = (255, 255, 0)
BOLT_RED = (255, 0, 0)


def near(colour, tolerance):
    return (tuple(max(0, c - tolerance) for c in colour),
            tuple(min(255, c + tolerance) for c in colour))


class Scene:
    """Reads screenshots against the bitmaps of one runtime directory."""

    def __init__(self, runtime_dir):
        img = os.path.join(runtime_dir, "ImgData")
        load = lambda name: headless.load_image(os.path.join(img, name))  # noqa: E731
        self.pages = {"start": load("startpage.bmp"), "play": load("baum.bmp"),
                      "gameover": load("gameover2.bmp")}
        self.help_page = load("helpscreen.bmp")
        self.table = load("highscore.bmp")
        self.horse_sheets = {"left": load("pferdleft.bmp"), "right": load("pferdright.bmp")}
        self.lives_sheet = load("lives.bmp")
        self.background_white = self.pages["play"].mask(near(WHITE, 40)[0], WHITE)

    # Pages -------------------------------------------------------------------------------

    def page(self, shot):
        """The page whose bitmap the screen shows most of ("start", "play" or "gameover"),
        provided it shows at least half of it; else None."""
        name, share = max(((n, shot.same_fraction(p)) for n, p in self.pages.items()),
                          key=lambda item: item[1])
        return name if share >= 0.5 else None

    def help_shown(self, shot):
        x, y = HELP_PAGE
        part = shot.crop(x, y, self.help_page.width, self.help_page.height)
        return part.shows(self.help_page) >= 0.95

    def table_at(self, shot, place):
        return shot.crop(place[0], place[1], self.table.width, self.table.height)

    def table_rows_with_text(self, shot):
        """Which of the three rows of the start page's table hold white text."""
        table = self.table_at(shot, TABLE_START)
        rows = []
        for row in range(3):
            y = TABLE_FIRST_ROW_Y + row * TABLE_ROW_HEIGHT
            band = table.crop(0, y, table.width, min(TABLE_ROW_HEIGHT, table.height - y))
            rows.append(band.count(near(WHITE, 10)[0], WHITE) >= 10)
        return rows

    # Sprites with frames -------------------------------------------------------------------

    def _frame(self, shot, sheet, place, size, frames):
        """The frame of a sheet that the screen shows at place, or None when no frame clearly
        beats the others (something lies over the sprite)."""
        part = shot.crop(place[0], place[1], size[0], size[1])
        shares = sorted(((part.shows(sheet.crop(k * size[0], 0, size[0], size[1])), k)
                         for k in range(frames)), reverse=True)
        best, runner_up = shares[0], shares[1]
        if best[0] >= 0.8 and best[0] - runner_up[0] >= 0.02:
            return best[1]
        return None

    def horse_frame(self, shot, side):
        return self._frame(shot, self.horse_sheets[side], HORSES[side], HORSE_FRAME, 4)

    def lives_frame(self, shot, side):
        return self._frame(shot, self.lives_sheet, LIVES[side], LIVES_FRAME, 4)

    # Apples and their tasks ----------------------------------------------------------------

    def apples(self, shot):
        """Falling apples: large groups of apple-red pixels above the lives displays (the
        apples on the tree and the hearts are far smaller)."""
        low, high = near(APPLE_RED, 3)
        groups = headless.blobs(shot.crop(0, 0, shot.width, 550).mask(low, high),
                                shot.width, min_size=900)
        return [g for g in groups if g.width >= 40 and g.height >= 30]

    def task_text(self, shot, apple):
        """The white glyph groups of the task on an apple: near-white pixels inside the
        apple's red area where the play background is not white."""
        x0, y0 = apple.x0, apple.y0
        w, h = apple.width, apple.height
        box = shot.crop(x0, y0, w, h)
        white = box.mask((200, 150, 150), WHITE)
        back = b"".join(self.background_white[(y0 + r) * shot.width + x0:
                                              (y0 + r) * shot.width + x0 + w]
                        for r in range(h))
        text = bytes(a & (1 - b) for a, b in zip(white, back))
        return headless.blobs(text, w, diagonal=True)

    @staticmethod
    def has_colon(glyphs):
        """Two dots stacked one above the other, as in 56 : 8; the x of a multiplication is a
        single cross-shaped group and digits are taller."""
        dots = [g for g in glyphs if g.width <= 3 and g.height <= 3]
        for upper in dots:
            for lower in dots:
                centre_gap = abs((upper.x0 + upper.x1) - (lower.x0 + lower.x1)) / 2
                if centre_gap <= 1 and 3 <= lower.y0 - upper.y1 <= 9:
                    return True
        return False

    # The witch's bolts ---------------------------------------------------------------------

    def bolt_pixels(self, shot):
        """Pure yellow pixels with a pure red neighbour to the left or right (the bolts are
        yellow and red lines side by side), counted around the glow where every bolt leaves
        the witch: within 40 pixels of its box but outside it."""
        x, y, w, h = FLASH_BOX
        area = shot.crop(x - 40, y - 40, w + 80, h + 80)
        yellow = headless.mask_bits(area.mask(BOLT_YELLOW, BOLT_YELLOW))
        red = headless.mask_bits(area.mask(BOLT_RED, BOLT_RED))
        pairs = headless.bits_mask(yellow & ((red << 8) | (red >> 8)), area.width * area.height)
        inner = range(40, 40 + w)
        return sum(1 for i in range(len(pairs)) if pairs[i]
                   and not (i % area.width in inner and i // area.width in range(40, 40 + h)))

    # Text in boxes -------------------------------------------------------------------------

    @staticmethod
    def white_extent(shot, box):
        """Width of the white text in a box (0 when there is none)."""
        part = shot.crop(*box)
        found = headless.blobs(part.mask(near(WHITE, 55)[0], WHITE), part.width, diagonal=True)
        if not found:
            return 0
        return max(b.x1 for b in found) - min(b.x0 for b in found) + 1
