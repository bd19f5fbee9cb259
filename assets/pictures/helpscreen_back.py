"""The backing of the help page (600 x 525, keyed, no outline), drawn at (100, 30) with alpha
180 under the page: a dark warm shadow that shows below the page's panel and dims
the scene there. Where the page's opaque panel will lie over it anyway, it is left keyed: that
part is never seen, and a keyed pixel is skipped instead of blended."""

import pagelib as L

W, H = 600, 525
SHADOW = "#2a1d14"


def main():
    # The shadow falls mostly below the page's panel; the panel's inside, clear of its rounded
    # corners, is never seen.
    px, py, pw, ph = L.HELP_PANEL
    inset = L.HELP_PANEL_RADIUS + 2
    x, y, w, h = px + inset, py + inset, pw - 2 * inset, ph - 2 * inset
    body = ('<defs><mask id="hidden"><rect width="%d" height="%d" fill="white"/>'
            '<rect x="%d" y="%d" width="%d" height="%d" fill="black"/></mask></defs>\n'
            % (W, H, x, y, w, h))
    body += ('<rect x="8" y="12" width="%d" height="%d" rx="24" fill="%s" mask="url(#hidden)"/>'
             % (W - 8, H - 12, SHADOW))
    print(L.document(W, H, body))


if __name__ == "__main__":
    main()
