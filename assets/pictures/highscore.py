"""The background of the best-three table (280 x 70): the game writes three rows into it in
white bold 12 pt, names from x 19 and scores from x 146, rows at y 7, 27 and 47."""

import palette as P
import pagelib as L

W, H = 280, 70
ROW_TOPS = (7, 27, 47)
MEDALS = (("#f2c230", "#c9961a"), ("#d7dde3", "#9aa5b1"), ("#d98b4a", "#a7602a"))


def main():
    body = '<rect x="0" y="0" width="%d" height="%d" fill="%s"/>' % (W, H, L.PLATE)
    for i, top in enumerate(ROW_TOPS):
        y = top - 3
        fill = L.PLATE_LIGHT if i % 2 == 0 else L.PLATE
        body += '<rect x="2" y="%d" width="%d" height="19" rx="5" fill="%s"/>' % (y, W - 4, fill)
        base, shade = MEDALS[i]
        cy = top + 7.5
        body += L.shaded(L.circle(9.5, cy, 5.5), base, shade, "#ffffff", offset=(-1, -1),
                         light_shape=L.circle(8, cy - 2, 1.6), outline=1.0)
    # A faint divider between the name and the score column.
    body += '<path d="M139.5,4 V66" stroke="%s" stroke-width="1" stroke-dasharray="2 3"/>' % L.PLATE_LIGHT
    body += '<rect x="0.5" y="0.5" width="%d" height="%d" fill="none" stroke="%s" stroke-width="1"/>' % (
        W - 1, H - 1, P.OUTLINE)
    print(L.document(W, H, body))


if __name__ == "__main__":
    main()
