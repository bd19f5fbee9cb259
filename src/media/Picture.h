#pragma once
// Reading the game's BMP pictures and bringing them into the screen's pixel format.

#include <SDL.h>

// Reads a BMP file with SDL. Returns null, with SDL's error set, when the file cannot be read or
// when its header claims more pixels than the file can hold: such a file is refused before a
// surface of the claimed size is made.
SDL_Surface* LoadPicture(const char* pFile);

// The picture in the screen's pixel format, so that drawing it is a plain copy; the surface
// handed in is freed when a copy was made. Opaque: the alpha byte of the format does not blend.
SDL_Surface* ToScreenFormat(SDL_Surface* pSurface, const SDL_Surface* pScreen);
