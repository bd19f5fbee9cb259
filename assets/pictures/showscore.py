"""The score box (99 x 33, keyed) drawn at (691, 10): the game writes ten white bold 12 pt
digits into it from (9, 7), about 80 x 15 pixels."""

import palette as P
import pagelib as L

W, H = 99, 33


def main():
    body = '<rect width="%d" height="%d" fill="#ff00ff" fill-opacity="0"/>' % (W, H)
    # Gold rim with its shade, then the dark plate the digits sit on.
    body += L.shaded(L.rect(1.5, 1.5, W - 3, H - 3, 10), P.GOLD, L.GOLD_SHADE, offset=(-1, -2), outline=1.5)
    body += ('<rect x="5" y="5" width="%d" height="%d" rx="6" fill="%s" stroke="%s" stroke-width="1.2"/>'
             % (W - 10, H - 10, L.PLATE, P.OUTLINE))
    body += '<path d="M9,6.8 H%d" stroke="#000000" stroke-opacity="0.35" stroke-width="1.5"/>' % (W - 9)
    body += '<path d="M8,3.6 H40" stroke="%s" stroke-width="1.4" stroke-linecap="round"/>' % L.GOLD_LIGHT
    print(L.document(W, H, body))


if __name__ == "__main__":
    main()
