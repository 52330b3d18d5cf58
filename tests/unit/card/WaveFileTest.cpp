#include "Platform.h"

#include "WaveFile.h"

#include <gtest/gtest.h>

#include <mmreg.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string U16(uint16_t v) {
    return std::string(reinterpret_cast<const char*>(&v), 2);
}
std::string U32(uint32_t v) {
    return std::string(reinterpret_cast<const char*>(&v), 4);
}

// A chunk with its true size, or with the size it claims when one is given.
std::string Chunk(const char* id, const std::string& body, int64_t claimed = -1) {
    std::string chunk = std::string(id, 4) + U32(uint32_t(claimed < 0 ? body.size() : claimed));
    chunk += body;
    if (body.size() & 1) chunk += '\0';
    return chunk;
}

std::string Riff(const std::string& chunks, const char* form = "WAVE", int64_t claimed = -1) {
    return Chunk("RIFF", std::string(form, 4) + chunks, claimed);
}

std::string Fmt(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
    uint16_t block = uint16_t(bits / 8 * channels);
    return U16(tag) + U16(channels) + U32(rate) + U32(rate * block) + U16(block) + U16(bits);
}

// {00000001-0000-0010-8000-00AA00389B71} as stored in a file.
const std::string kPcmSubFormat("\x01\0\0\0\0\0\x10\0\x80\0\0\xAA\0\x38\x9B\x71", 16);

std::string Pcm16Mono() {
    return Fmt(WAVE_FORMAT_PCM, 1, 44100, 16);
}

std::string Samples(size_t count) {
    std::string data(count, '\0');
    for (size_t i = 0; i < count; ++i)
        data[i] = char((i * 7 + i / 251) & 0xFF);
    return data;
}

class WaveFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        m_folder = std::string(temp) + "quenda-wave-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(m_folder.c_str(), nullptr);
    }
    void TearDown() override {
        for (const auto& path : m_files)
            DeleteFileA(path.c_str());
        RemoveDirectoryA(m_folder.c_str());
    }
    std::string Write(const std::string& bytes) {
        std::string path = m_folder + "\\" + std::to_string(m_files.size()) + ".wav";
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
        CloseHandle(file);
        m_files.push_back(path);
        return path;
    }
    std::string ReadAll(CWaveFile& wave, UINT step) {
        std::string out;
        std::vector<BYTE> buffer(step);
        for (;;) {
            UINT read = 0;
            EXPECT_EQ(wave.Read(step, buffer.data(), &read), S_OK);
            if (read == 0) break;
            out.append(reinterpret_cast<char*>(buffer.data()), read);
        }
        return out;
    }

    std::string m_folder;
    std::vector<std::string> m_files;
};

TEST_F(WaveFileTest, ReadsPcmSoundAcrossTheFileBuffer) {
    // Larger than the file I/O buffer, so reading has to advance it; an odd-sized chunk with
    // its pad byte comes first and must be skipped correctly.
    std::string sound = Samples(20002);
    CWaveFile wave;
    ASSERT_EQ(wave.Open(Write(Riff(Chunk("LIST", "abc") + Chunk("fmt ", Pcm16Mono()) +
                                   Chunk("data", sound)))
                            .c_str()),
              S_OK);
    const WAVEFORMATEX* format = wave.GetFormat();
    ASSERT_NE(format, nullptr);
    EXPECT_EQ(format->wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(format->nChannels, 1);
    EXPECT_EQ(format->nSamplesPerSec, 44100u);
    EXPECT_EQ(format->wBitsPerSample, 16);
    EXPECT_EQ(format->cbSize, 0);
    EXPECT_EQ(wave.GetSize(), sound.size());

    EXPECT_EQ(ReadAll(wave, 3000), sound);
    // Reading stops at the end of the data; ResetToData starts over.
    ASSERT_EQ(wave.ResetToData(), S_OK);
    std::vector<BYTE> head(10);
    UINT read = 0;
    ASSERT_EQ(wave.Read(10, head.data(), &read), S_OK);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(head.data()), read), sound.substr(0, 10));
    ASSERT_EQ(wave.ResetToData(), S_OK);
    std::vector<BYTE> all(sound.size() + 500);
    ASSERT_EQ(wave.Read(UINT(all.size()), all.data(), &read), S_OK);
    EXPECT_EQ(read, sound.size());
}

TEST_F(WaveFileTest, KeepsExtraFormatBytesBehindTheHeader) {
    std::string extra = U16(16) + U32(0x3F) + kPcmSubFormat;
    std::string fmt =
        Fmt(WAVE_FORMAT_EXTENSIBLE, 6, 48000, 16) + U16(uint16_t(extra.size())) + extra;
    CWaveFile wave;
    ASSERT_EQ(wave.Open(Write(Riff(Chunk("fmt ", fmt) + Chunk("data", Samples(24)))).c_str()),
              S_OK);
    const WAVEFORMATEX* format = wave.GetFormat();
    EXPECT_EQ(format->wFormatTag, WAVE_FORMAT_EXTENSIBLE);
    EXPECT_EQ(format->nChannels, 6);
    ASSERT_EQ(format->cbSize, extra.size());
    EXPECT_EQ(std::memcmp(reinterpret_cast<const BYTE*>(format) + sizeof(WAVEFORMATEX),
                          extra.data(), extra.size()),
              0);
}

TEST_F(WaveFileTest, TheShippedTestSoundIsMono16Bit44k) {
    CWaveFile wave;
    ASSERT_EQ(wave.Open("QzTest.wav"), S_OK);
    const WAVEFORMATEX* format = wave.GetFormat();
    EXPECT_EQ(format->wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(format->nChannels, 1);
    EXPECT_EQ(format->nSamplesPerSec, 44100u);
    EXPECT_EQ(format->wBitsPerSample, 16);
    // About one to two seconds.
    EXPECT_GE(wave.GetSize(), 88200u);
    EXPECT_LE(wave.GetSize(), 2 * 88200u);
}

TEST_F(WaveFileTest, RejectsFilesThatAreNotWave) {
    std::string body = Chunk("fmt ", Pcm16Mono()) + Chunk("data", Samples(100));
    CWaveFile wave;
    EXPECT_EQ(wave.Open((m_folder + "\\missing.wav").c_str()), E_FAIL);
    EXPECT_EQ(wave.Open(Write(Chunk("RIFX", "WAVE" + body)).c_str()), E_FAIL);
    EXPECT_EQ(wave.Open(Write(Riff(body, "AVI ")).c_str()), E_FAIL);
    EXPECT_EQ(wave.Open(Write("RIFF").c_str()), E_FAIL);
    EXPECT_EQ(wave.Open(Write("").c_str()), E_FAIL);
    EXPECT_FALSE(wave.IsOpen());
    EXPECT_EQ(wave.GetFormat(), nullptr);
}

TEST_F(WaveFileTest, RejectsDamagedFormatChunks) {
    std::string data = Chunk("data", Samples(100));
    std::string pcm = Pcm16Mono();
    std::string extensible = Fmt(WAVE_FORMAT_EXTENSIBLE, 1, 44100, 16);
    const std::string damaged[] = {
        // shorter than 16 bytes
        Riff(Chunk("fmt ", pcm.substr(0, 14)) + data),
        // no format at all
        Riff(data),
        // claims 16 bytes, the file ends after 10
        Riff("") + "fmt " + U32(16) + pcm.substr(0, 10),
        // a format with extra bytes but no room for their size
        Riff(Chunk("fmt ", extensible) + data),
        // extra size that runs past the chunk
        Riff(Chunk("fmt ", extensible + U16(22) + std::string(10, 'x')) + data),
        // extra size that runs past the end of the file
        Riff("") + "fmt " + U32(40) + extensible + U16(22) + "xx",
        // zero channels, zero block size, zero rate, zero bits per sample
        Riff(Chunk("fmt ", Fmt(WAVE_FORMAT_PCM, 0, 44100, 16)) + data),
        Riff(Chunk("fmt ", Fmt(WAVE_FORMAT_PCM, 1, 44100, 4)) + data),
        Riff(Chunk("fmt ", Fmt(WAVE_FORMAT_PCM, 1, 0, 16)) + data),
        Riff(Chunk("fmt ", pcm.substr(0, 14) + U16(0)) + data),
    };
    int index = 0;
    for (const std::string& bytes : damaged) {
        CWaveFile wave;
        EXPECT_EQ(wave.Open(Write(bytes).c_str()), E_FAIL) << "file " << index;
        EXPECT_EQ(wave.GetFormat(), nullptr) << "file " << index;
        ++index;
    }
}

TEST_F(WaveFileTest, RejectsSizesTheFileDoesNotHold) {
    std::string fmt = Chunk("fmt ", Pcm16Mono());
    std::string sound = Samples(100);
    const std::string damaged[] = {
        // data claims more than the file holds
        Riff(fmt + Chunk("data", sound, 101)),
        Riff(fmt + Chunk("data", sound, 0xFFFFFFFFu)),
        // a chunk near 4 GB before the data: skipping it must not wrap around
        Riff(Chunk("junk", "abcd", 0xFFFFFFF8u) + fmt + Chunk("data", sound)),
        Riff(Chunk("junk", "abcd", 0xFFFFFFF4u) + fmt + Chunk("data", sound)),
        Riff(fmt + Chunk("junk", "abcd", 0xFFFFFFE0u) + Chunk("data", sound)),
        // the data lies outside the RIFF chunk
        Riff(fmt, "WAVE") + Chunk("data", sound),
        // no data, no samples in it, less than one sample frame
        Riff(fmt),
        Riff(fmt + Chunk("data", "")),
        Riff(fmt + Chunk("data", "x")),
    };
    int index = 0;
    for (const std::string& bytes : damaged) {
        CWaveFile wave;
        EXPECT_EQ(wave.Open(Write(bytes).c_str()), E_FAIL) << "file " << index;
        ++index;
    }
    // A RIFF size beyond the file's end is common and harmless: the file's end counts.
    CWaveFile wave;
    EXPECT_EQ(wave.Open(Write(Riff(fmt + Chunk("data", sound), "WAVE", 0xFFFFFFFFu)).c_str()),
              S_OK);
    EXPECT_EQ(wave.GetSize(), sound.size());
}

TEST_F(WaveFileTest, RefusesSoundsOverTheSizeCap) {
    std::string fmt = Chunk("fmt ", Pcm16Mono());
    CWaveFile wave;
    EXPECT_EQ(
        wave.Open(Write(Riff(fmt + Chunk("data", std::string(CWaveFile::kMaxDataSize + 2, '\x11'))))
                      .c_str()),
        E_FAIL);
    EXPECT_EQ(
        wave.Open(
            Write(Riff(fmt + Chunk("data", std::string(CWaveFile::kMaxDataSize, '\x11')))).c_str()),
        S_OK);
}

// A format chunk with its block size and byte rate given as they stand in the file.
std::string FmtAs(uint16_t tag, uint16_t channels, uint32_t rate, uint32_t byteRate, uint16_t block,
                  uint16_t bits) {
    return U16(tag) + U16(channels) + U32(rate) + U32(byteRate) + U16(block) + U16(bits);
}

TEST_F(WaveFileTest, RefusesABlockSizeOtherThanChannelsTimesSampleBytes) {
    std::string data = Chunk("data", Samples(96));
    CWaveFile wave;
    // 16-bit stereo frames are 4 bytes.
    EXPECT_EQ(
        wave.Open(Write(Riff(Chunk("fmt ", FmtAs(1, 2, 22050, 44100, 2, 16)) + data)).c_str()),
        E_FAIL);
    EXPECT_EQ(
        wave.Open(Write(Riff(Chunk("fmt ", FmtAs(1, 2, 22050, 132300, 6, 16)) + data)).c_str()),
        E_FAIL);
    EXPECT_EQ(
        wave.Open(Write(Riff(Chunk("fmt ", FmtAs(1, 2, 22050, 88200, 4, 16)) + data)).c_str()),
        S_OK);
}

TEST_F(WaveFileTest, RefusesAZeroByteRate) {
    CWaveFile wave;
    EXPECT_EQ(wave.Open(Write(Riff(Chunk("fmt ", FmtAs(1, 1, 44100, 0, 2, 16)) +
                                   Chunk("data", Samples(100))))
                            .c_str()),
              E_FAIL);
}

TEST_F(WaveFileTest, RefusesFormatsOtherThanIntegerPcm) {
    std::string data = Chunk("data", Samples(96));
    const std::string other[] = {
        // floating point, ADPCM with its extra bytes, extensible floating point
        Fmt(WAVE_FORMAT_IEEE_FLOAT, 1, 44100, 32) + U16(0),
        Fmt(WAVE_FORMAT_ADPCM, 1, 44100, 16) + U16(4) + U16(500) + U16(0),
        Fmt(WAVE_FORMAT_EXTENSIBLE, 1, 44100, 32) + U16(22) + U16(32) + U32(1) +
            std::string("\x03\0\0\0\0\0\x10\0\x80\0\0\xAA\0\x38\x9B\x71", 16),
    };
    int index = 0;
    for (const std::string& fmt : other) {
        CWaveFile wave;
        EXPECT_EQ(wave.Open(Write(Riff(Chunk("fmt ", fmt) + data)).c_str()), E_FAIL) << index;
        ++index;
    }
}

TEST_F(WaveFileTest, RefusesAHugeChannelCount) {
    // Consistent in itself (8-bit samples, one byte per channel) and with whole frames.
    std::string data = Chunk("data", Samples(2 * 0xFFFF));
    CWaveFile wave;
    EXPECT_EQ(
        wave.Open(Write(Riff(Chunk("fmt ", Fmt(WAVE_FORMAT_PCM, 0xFFFF, 8000, 8)) + data)).c_str()),
        E_FAIL);
    EXPECT_EQ(
        wave.Open(Write(Riff(Chunk("fmt ", Fmt(WAVE_FORMAT_PCM, 9, 8000, 8)) + data)).c_str()),
        E_FAIL);
    EXPECT_EQ(
        wave.Open(Write(Riff(Chunk("fmt ", Fmt(WAVE_FORMAT_PCM, 8, 8000, 8)) + data)).c_str()),
        S_OK);
}

TEST_F(WaveFileTest, DataEndingInAPartialFrameEndsAtItsLastWholeFrame) {
    // 16-bit stereo: 4-byte frames, and two bytes of a frame left over.
    std::string sound = Samples(102);
    CWaveFile wave;
    ASSERT_EQ(wave.Open(Write(Riff(Chunk("fmt ", Fmt(WAVE_FORMAT_PCM, 2, 22050, 16)) +
                                   Chunk("data", sound)))
                            .c_str()),
              S_OK);
    EXPECT_EQ(wave.GetSize(), 100u);
    EXPECT_EQ(ReadAll(wave, 64), sound.substr(0, 100));
    ASSERT_EQ(wave.ResetToData(), S_OK);
    EXPECT_EQ(wave.GetSize(), 100u);
}

} // namespace
