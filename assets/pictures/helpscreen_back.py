"""The backing of the help page (600 x 525, keyed, no outline), drawn at (100, 30) with alpha
180 under the page: a dark warm shadow that shows below and right of the page's panel and dims
the scene there."""

import pagelib as L

W, H = 600, 525
SHADOW = "#2a1d14"


def main():
    body = ('<rect x="14" y="16" width="%d" height="%d" rx="24" fill="%s"/>' % (W - 15, H - 17, SHADOW))
    print(L.document(W, H, body))


if __name__ == "__main__":
    main()
