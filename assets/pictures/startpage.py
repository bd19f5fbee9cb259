"""The start page (800 x 600, no key).

The game draws on it: the typed name in white bold 18 pt from (520, 270), so a dark field
x 510..790, y 262..300 lies ready for it; the best-three table (280 x 70) at (511, 393), framed
by x 505..797, y 388..468; the start button is the rectangle x 560..720, y 522..570.
"""

import palette as P
import pagelib as L

W, H = 800, 600
HORIZON = 360

NAME_FIELD = (510, 262, 280, 38)
TABLE_FRAME = (505, 388, 292, 80)
BUTTON = (560, 522, 160, 48)

HINTS = [
    ("F1", "Hilfe"),
    ("F5", "Start"),
    ("F9 / F10 / F11", "Zahlenraum 10 / 20 / 99"),
    ("F12", "Mal oder Geteilt"),
    ("Esc", "Beenden"),
]

CROWN = [
    (20, 120, 80), (120, 80, 74), (230, 95, 78), (315, 150, 60),
    (40, 210, 70), (150, 175, 80), (260, 205, 68),
    (60, 275, 52), (160, 262, 56), (250, 272, 48), (330, 235, 40),
]
APPLES = [(60, 150, 12), (135, 95, 12), (215, 140, 12), (290, 190, 11), (110, 230, 12), (200, 280, 11),
          (260, 75, 11), (30, 250, 11), (320, 250, 10)]


def tree():
    out = L.tree_trunk(174, 250, 412, 26, seed=2)
    out += L.tree_crown(CROWN, seed=23, apples=APPLES)
    return out


def title():
    out = L.banner(590, 118, "Zentaris", 84)
    out += L.text(590, 162, "Das Einmaleins mit Äpfeln", 22, bold=True, anchor="middle",
                  halo=L.CREAM, halo_width=5, max_width=400)
    return out


def right_panel():
    out = L.panel(356, 236, 480, 420, r=26, drop=0)
    x, y, w, h = NAME_FIELD
    out += L.text(x - 12, y + h / 2 + 8, "Dein Name:", 22, bold=True, anchor="end", max_width=x - 12 - 366)
    out += L.plate(x, y, w, h)
    out += L.text(x + 4, y + h + 24, "Tippe deinen Namen ein.", 15, max_width=w - 4)
    fx, fy, fw, fh = TABLE_FRAME
    out += L.text(fx + fw / 2, fy - 14, "Bestenliste", 22, bold=True, anchor="middle", max_width=fw)
    # A gold frame; the table bitmap covers its dark middle exactly.
    out += L.shaded(L.rect(fx, fy, fw, fh, 8), P.GOLD, L.GOLD_SHADE, offset=(-1.5, -2.5), outline=2)
    out += '<rect x="%d" y="%d" width="%d" height="%d" fill="%s" stroke="%s" stroke-width="1.5"/>' % (
        fx + 6, fy + 5, fw - 12, fh - 10, L.PLATE, P.OUTLINE)
    # A little heap of apples beside the table.
    out += L.apple(412, 448, 17, angle=-12) + L.apple(462, 452, 16, leaf=False, angle=10)
    out += L.apple(437, 418, 15, angle=4)
    bx, by, bw, bh = BUTTON
    out += L.button(bx, by, bw, bh, "Start", 28)
    return out


def hint_sign():
    x, y, w, h = 16, 444, 336, 150
    out = ""
    for px in (x + 40, x + w - 40):
        out += L.shaded(L.rect(px - 7, y + h - 20, 14, 40, 3), L.WOOD, L.WOOD_SHADE, offset=(-3, 0))
    out += L.panel(x, y, w, h, r=14, base=L.WOOD, shade=L.WOOD_SHADE, drop=5)
    out += ('<rect x="%d" y="%d" width="%d" height="%d" rx="9" fill="%s" stroke="%s" stroke-width="2"/>'
            % (x + 8, y + 8, w - 16, h - 22, L.CREAM, P.OUTLINE))
    key_x = x + 22
    desc_x = key_x + 128
    for i, (key, desc) in enumerate(HINTS):
        base = y + 31 + i * 24
        out += L.text(key_x, base, key, 16, bold=True, max_width=desc_x - key_x - 6)
        out += L.text(desc_x, base, desc, 16, max_width=x + w - 14 - desc_x)
    return out


def main():
    body = L.landscape(W, H, HORIZON, seed=3, tufts=26, keep_clear=[(360, 230, 800, 600)])
    body += tree() + title() + right_panel() + hint_sign()
    print(L.document(W, H, body))


if __name__ == "__main__":
    main()
