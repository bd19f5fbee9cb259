// The generated pictures and sounds: 24-bit BMPs in the geometry of the picture manifest (the
// game loads them with the same numbers), keyed with exact magenta and free of pink fringes; WAVs
// the mixer plays as they are, of a fitting length, below full scale, and music that loops
// without a click.

#include <cmath>

#include "AssetGeometry.h"
#include "support/TestRuntime.h"

TEST(Pictures, AreSheetsOfVisibleFramesKeyedWithExactMagentaWithoutAPinkFringe) {
    const auto IsKey = [](int c) { return c == 0xFF00FF; };
    for (const SAssetGeometry& picture : ASSET_PICTURES) {
        SCOPED_TRACE(picture.pFile);
        SDL_Surface* p = SDL_LoadBMP(picture.pFile);
        ASSERT_NE(p, nullptr) << SDL_GetError();
        EXPECT_EQ(p->w, picture.iWidth);
        EXPECT_EQ(p->h, picture.iHeight);
        const int w = picture.iFrameWidth, h = picture.iFrameHeight;
        std::vector<int> shown(p->w / w * (p->h / h)); // pixels not keyed, by frame
        int iKey = 0, iPinkEdge = 0;
        for (int y = 0; y < p->h; ++y)
            for (int x = 0; x < p->w; ++x) {
                const int c = Rgb(p, x, y);
                const bool bEdge = IsKey(Rgb(p, x - 1, y)) || IsKey(Rgb(p, x + 1, y)) ||
                                   IsKey(Rgb(p, x, y - 1)) || IsKey(Rgb(p, x, y + 1));
                iKey += IsKey(c);
                // Kept pixels next to the key take the dark outline colour #3b2a1e.
                iPinkEdge += picture.bOutlined && bEdge && !IsKey(c) && c != 0x3B2A1E;
                shown[y / h * (p->w / w) + x / w] += !IsKey(c);
            }
        EXPECT_EQ(iKey > 0, picture.bKeyed) << iKey << " keyed pixels";
        EXPECT_EQ(iPinkEdge, 0) << "edge pixels neither outline nor key";
        for (std::size_t k = 0; k < shown.size(); ++k) // a tenth at least: a stray dot is no frame
            EXPECT_GT(shown[k], w * h / 10) << "frame " << k;
        SDL_FreeSurface(p);
    }
}

TEST(Sounds, AreAudibleBelowFullScaleAndTheMusicLoopsWithoutAClick) {
    for (const std::string strName : {"boing.wav", "success.wav", "fail.wav", "sound.wav"}) {
        SDL_AudioSpec format{};
        Uint8* pBuffer = nullptr;
        Uint32 uBytes = 0;
        ASSERT_NE(SDL_LoadWAV(("Sound/" + strName).c_str(), &format, &pBuffer, &uBytes), nullptr);
        // The mixer plays them unconverted: 44.1 kHz, 16 bits, two channels.
        EXPECT_EQ(format.freq, 44100) << strName;
        EXPECT_EQ(format.format, AUDIO_S16LSB) << strName;
        EXPECT_EQ(format.channels, 2) << strName;
        const Sint16* pSamples = reinterpret_cast<const Sint16*>(pBuffer);
        const std::size_t n = uBytes / 2, ch = format.channels;
        int iPeak = 0, iSteepest = 0; // largest sample, largest step between two of a channel
        for (std::size_t i = 0; i < n; ++i) {
            iPeak = std::max(iPeak, std::abs(pSamples[i]));
            iSteepest = std::max(iSteepest, i < ch ? 0 : std::abs(pSamples[i] - pSamples[i - ch]));
        }
        const bool bMusic = strName == "sound.wav";
        EXPECT_GT(n / ch / 44100.0, bMusic ? 20.0 : 0.1) << strName << ": seconds";
        EXPECT_LT(n / ch / 44100.0, bMusic ? 60.0 : 1.0) << strName << ": seconds";
        EXPECT_GT(iPeak, bMusic ? 1600 : 8000) << strName;
        EXPECT_LT(iPeak, 32440) << strName;
        for (std::size_t c = 0; bMusic && c < ch; ++c) { // its seam: a step like any other
            EXPECT_LT(std::abs(pSamples[c]), 650) << "start of channel " << c;
            EXPECT_LE(std::abs(pSamples[c] - pSamples[n - ch + c]), iSteepest) << "channel " << c;
        }
        SDL_FreeWAV(pBuffer);
    }
}
