"""The help page (600 x 525, keyed), laid over any screen at (100, 30) on top of its
translucent backing. It explains the game and every key. The game draws the best-three table
(280 x 70) at (303, 387) inside the page: the gold frame around it is left ready here.
"""

import palette as P
import pagelib as L

W, H = 600, 525
TABLE = (303, 387, 280, 70)

TITLE = "So spielst du Zentaris"

RULES = [
    "Äpfel mit Rechenaufgaben fallen vom Baum. Rechne die Aufgabe im Kopf.",
    "Tippe die Antwort blind ein, sie wird nicht angezeigt. Die Leertaste prüft sie.",
    "Eine Antwort löst jeden Apfel mit diesem Ergebnis.",
    "Jeder gelöste Apfel bringt 100 bis 500 Punkte.",
    "Die Hexe trifft gelöste Äpfel mit einem Blitz.",
    "Fällt ein Apfel auf ein Pferd, kostet das ein Leben. Jedes Pferd hat drei.",
    "Sind beide Pferde erschöpft, ist das Spiel vorbei.",
    "Alle 90 Sekunden kommen die Äpfel schneller.",
]

KEYS = [
    ("Ziffern", "Antwort eintippen"),
    ("Leertaste", "Antwort prüfen"),
    ("Rücktaste", "Namen korrigieren"),
    ("Return", "noch ein Spiel"),
    ("F1", "Hilfe zeigen / schließen"),
    ("F2", "zur Startseite"),
    ("F5", "Spiel starten"),
    ("F9 / F10 / F11", "Zahlenraum 10 / 20 / 99"),
    ("F12", "Mal oder Geteilt"),
    ("Esc", "Beenden"),
]

RULE_SIZE = 15
RULE_LEAD = 19
KEY_SIZE = 14
KEY_LEAD = 18.5


def rules(x, y, width):
    out = ""
    for rule in RULES:
        lines = L.wrap(rule, RULE_SIZE, False, width - 18)
        out += L.apple(x + 5, y - 5, 5.5, leaf=False)
        for line in lines:
            out += L.text(x + 18, y, line, RULE_SIZE, max_width=width - 18)
            y += RULE_LEAD
        y += 3
    return out, y


def keys(x, y, width):
    out = L.text(x, y, "Tasten", 19, bold=True, max_width=width)
    y += 24
    key_w = max(L.text_width(k, KEY_SIZE, True) for k, _ in KEYS) * 1.03 + 10
    for i, (key, desc) in enumerate(KEYS):
        if i % 2 == 0:
            out += ('<rect x="%.1f" y="%.1f" width="%.1f" height="%.1f" rx="4" fill="%s"/>'
                    % (x - 6, y - 13.5, width + 8, KEY_LEAD, L.PARCHMENT_SHADE))
        out += L.text(x, y, key, KEY_SIZE, bold=True, max_width=key_w)
        out += L.text(x + key_w, y, desc, KEY_SIZE, max_width=width - key_w)
        y += KEY_LEAD
    return out, y


def table_corner():
    tx, ty, tw, th = TABLE
    fx, fy, fw, fh = tx - 6, ty - 5, tw + 12, th + 10
    out = L.text(fx + fw / 2, fy - 12, "Bestenliste", 20, bold=True, anchor="middle", max_width=fw)
    out += L.shaded(L.rect(fx, fy, fw, fh, 8), P.GOLD, L.GOLD_SHADE, offset=(-1.5, -2.5), outline=2)
    out += '<rect x="%d" y="%d" width="%d" height="%d" fill="%s" stroke="%s" stroke-width="1.5"/>' % (
        tx, ty, tw, th, L.PLATE, P.OUTLINE)
    out += L.text(fx + fw / 2, fy + fh + 26, "F1 schließt die Hilfe.", 15, bold=True, anchor="middle",
                  max_width=fw)
    return out


def example(x, y):
    """A worked example beside the keys: the apple 7 x 8, then the keys 5, 6 and Space."""
    out = L.apple(x + 26, y + 2, 25, angle=-6)
    out += L.text(x + 22, y + 11, "7 x 8", 13, bold=True, fill=L.WHITE, anchor="middle", max_width=40)
    ax = x + 62
    out += ('<path d="M%d,%d h24 m-8,-7 l8,7 l-8,7" fill="none" stroke="%s" stroke-width="3" '
            'stroke-linecap="round" stroke-linejoin="round"/>' % (ax, y + 2, P.OUTLINE))
    kx = ax + 36
    for label in ("5", "6", "Leertaste"):
        markup, w = L.key_cap(kx, y - 10, label, 14, min_w=26)
        out += markup
        kx += w + 6
    if kx > W - 20:
        raise SystemExit("the example runs out of the page")
    return out


def main():
    x, y, w, h = L.HELP_PANEL
    body = L.panel(x, y, w, h, r=L.HELP_PANEL_RADIUS, base=L.CREAM, shade=L.PARCHMENT, drop=0)
    body += L.text(x + w / 2, 44, TITLE, 27, bold=True, anchor="middle", fill=P.OUTLINE, max_width=w - 120)
    tw = L.text_width(TITLE, 27, True)
    body += L.apple(x + w / 2 - tw / 2 - 26, 35, 13, angle=-10) + L.apple(x + w / 2 + tw / 2 + 26, 35, 13, angle=10)
    body += '<path d="M%d,58 H%d" stroke="%s" stroke-width="2" stroke-linecap="round"/>' % (
        x + 24, x + w - 24, L.PARCHMENT_SHADE)
    rules_markup, rules_end = rules(x + 22, 84, w - 44)
    body += rules_markup
    keys_top = rules_end + 14
    keys_markup, keys_end = keys(x + 22, keys_top, 262)
    if keys_end - KEY_LEAD + 8 > y + h:
        raise SystemExit("the key list runs out of the page (%d)" % keys_end)
    body += keys_markup
    if keys_top > TABLE[1] - 60:
        raise SystemExit("the rules leave no room above the table")
    body += example(TABLE[0] + 10, keys_top + 24)
    body += table_corner()
    print(L.document(W, H, body))


if __name__ == "__main__":
    main()
