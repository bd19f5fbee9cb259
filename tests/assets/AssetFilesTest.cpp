// The generated pictures and sounds: 24-bit BMPs in the geometry of the picture manifest (the
// game loads them with the same numbers), keyed with exact magenta and free of pink fringes; WAVs
// the mixer plays as they are, of a fitting length, below full scale, and music that loops
// without a click.

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <SDL.h>
#include <gtest/gtest.h>

#include "AssetGeometry.h"
#include "support/TestRuntime.h"

namespace {
const auto IsKey = [](SDL_Color c) { return SameColor(c, {255, 0, 255, 255}); };
const auto IsOutline = [](SDL_Color c) { return SameColor(c, {0x3b, 0x2a, 0x1e, 255}); };

// The samples of a WAV, channels interleaved, as fractions of full scale; its channels in ch.
std::vector<double> Load(const char* pName, std::size_t& ch) {
    SDL_AudioSpec format{};
    Uint8* pBuffer = nullptr;
    Uint32 uLength = 0;
    EXPECT_NE(SDL_LoadWAV((std::string("Sound/") + pName).c_str(), &format, &pBuffer, &uLength),
              nullptr)
        << pName << ": " << SDL_GetError();
    // The mixer runs at 44.1 kHz, 16 bits, so the files play unconverted.
    EXPECT_EQ(format.freq, 44100) << pName;
    EXPECT_EQ(format.format, AUDIO_S16LSB) << pName;
    EXPECT_LE(format.channels, 2) << pName;
    std::vector<double> samples;
    for (Uint32 i = 0; i + 1 < uLength; i += 2)
        samples.push_back(static_cast<Sint16>(pBuffer[i] | (pBuffer[i + 1] << 8)) / 32768.0);
    SDL_FreeWAV(pBuffer);
    ch = std::max<std::size_t>(format.channels, 1);
    return samples;
}
double Peak(const std::vector<double>& samples, std::size_t from, std::size_t to) {
    const auto range = std::minmax_element(samples.begin() + from, samples.begin() + to);
    return from < to ? std::max(-*range.first, *range.second) : 0.0;
}
} // namespace

TEST(Pictures, AreSheetsOfVisibleFramesKeyedWithExactMagentaWithoutAPinkFringe) {
    for (const SAssetGeometry& picture : ASSET_PICTURES) {
        SCOPED_TRACE(picture.pFile);
        SDL_Surface* p = SDL_LoadBMP(picture.pFile);
        ASSERT_NE(p, nullptr) << SDL_GetError();
        ASSERT_EQ(p->format->BitsPerPixel, 24);
        EXPECT_EQ(p->w, picture.iWidth);
        EXPECT_EQ(p->h, picture.iHeight);
        const int w = picture.iFrameWidth, h = picture.iFrameHeight, iColumns = p->w / w;
        const int iFrames = std::max(picture.iFrames, 1); // a picture drawn whole is one frame
        std::vector<int> shown(iFrames + 1);
        int iKey = 0, iNearKey = 0, iPinkEdge = 0;
        for (int y = 0; y < p->h; ++y)
            for (int x = 0; x < p->w; ++x) {
                const SDL_Color c = PixelColor(p, x, y);
                const bool bEdge = IsKey(PixelColor(p, x - 1, y)) ||
                                   IsKey(PixelColor(p, x + 1, y)) ||
                                   IsKey(PixelColor(p, x, y - 1)) || IsKey(PixelColor(p, x, y + 1));
                iKey += IsKey(c);
                iNearKey += !IsKey(c) && c.r >= 200 && c.b >= 200 && c.g <= 80;
                iPinkEdge += picture.bOutlined && bEdge && !IsKey(c) && !IsOutline(c);
                shown[std::min(iFrames, y / h * iColumns + x / w)] += !IsKey(c);
            }
        EXPECT_EQ(iKey > 0, picture.bKeyed) << iKey << " keyed pixels";
        EXPECT_EQ(iNearKey, 0) << "pixels near magenta";
        EXPECT_EQ(iPinkEdge, 0) << "edge pixels neither outline nor key";
        for (int k = 0; k < iFrames; ++k) // a tenth at least: a dot or a stray line is no frame
            EXPECT_GT(shown[k], w * h / 10) << "frame " << k;
        SDL_FreeSurface(p);
    }
}

TEST(Sounds, EffectsAreShortAndTheMusicLoopsWithoutAClickOrAFadeAllAudibleBelowFullScale) {
    std::size_t ch = 1;
    for (const char* pName : {"boing.wav", "success.wav", "fail.wav"}) {
        const std::vector<double> sound = Load(pName, ch);
        const double fSeconds = sound.size() / ch / 44100.0, fPeak = Peak(sound, 0, sound.size());
        EXPECT_GT(fSeconds, 0.1) << pName;
        EXPECT_LT(fSeconds, 1.0) << pName;
        EXPECT_GT(fPeak, 0.25) << pName;
        EXPECT_LT(fPeak, 0.99) << pName;
    }
    const std::vector<double> music = Load("sound.wav", ch);
    const std::size_t n = music.size(), half = 22050 * ch;
    ASSERT_GE(n / ch / 44100, 20u) << "seconds of music";
    ASSERT_LE(n / ch / 44100, 60u) << "seconds of music";
    // Audible, never clipping, and its first and last half second about as loud as the rest.
    const double fPeak = Peak(music, 0, n);
    EXPECT_GT(fPeak, 0.05);
    EXPECT_LT(fPeak, 0.99);
    EXPECT_GT(Peak(music, 0, half), 0.2 * fPeak) << "the first half second";
    EXPECT_GT(Peak(music, n - half, n), 0.2 * fPeak) << "the last half second";
    // The seam lies near zero, and its step is no larger than the steps the music takes.
    double fSteepest = 0.0;
    for (std::size_t i = ch; i < n; ++i)
        fSteepest = std::max(fSteepest, std::fabs(music[i] - music[i - ch]));
    for (std::size_t c = 0; c < ch; ++c) {
        EXPECT_LT(std::fabs(music[c]), 0.02) << "start of channel " << c;
        EXPECT_LT(std::fabs(music[n - ch + c]), 0.02) << "end of channel " << c;
        EXPECT_LE(std::fabs(music[c] - music[n - ch + c]), fSteepest) << "seam of channel " << c;
    }
}
