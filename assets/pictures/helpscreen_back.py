"""The backing of the help page (600 x 525, keyed, no outline), drawn at (100, 30) with alpha
180 under the page: a dark warm shadow that shows below the page's panel and dims
the scene there."""

import pagelib as L

W, H = 600, 525
SHADOW = "#2a1d14"


def main():
    # The page's panel covers x 1..597, y 1..509; the shadow falls mostly below it.
    body = '<rect x="8" y="12" width="%d" height="%d" rx="24" fill="%s"/>' % (W - 8, H - 12, SHADOW)
    print(L.document(W, H, body))


if __name__ == "__main__":
    main()
