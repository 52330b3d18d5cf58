#include "Platform.h"

#include "WaveFile.h"

#include <mmreg.h>

#include <algorithm>
#include <cstring>

namespace {
// The part of a WAVEFORMATEX that every "fmt " chunk holds (it ends before cbSize).
const DWORD kBaseFormatSize = offsetof(WAVEFORMATEX, cbSize);
const DWORD kFormatHeaderSize = kBaseFormatSize + sizeof(WORD);
// The subformat of integer PCM in a WAVE_FORMAT_EXTENSIBLE format.
const GUID kSubtypePcm = {
    0x00000001, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// The sound is played as integer PCM with the channel count, rate and sample size read here,
// so only a format that is exactly that is taken: compressed or floating-point data would
// play as noise, and block sizes or rates that disagree with the samples come from a damaged
// header.
bool IsPlayablePcm(const WAVEFORMATEX& format) {
    if (format.wBitsPerSample % 8 != 0 || format.nChannels > CWaveFile::kMaxChannels) return false;
    const DWORD block = DWORD(format.nChannels) * (format.wBitsPerSample / 8);
    return format.nBlockAlign == block &&
           ULONGLONG(format.nAvgBytesPerSec) == ULONGLONG(format.nSamplesPerSec) * block;
}

bool IsPcmTag(const BYTE* format) {
    const WAVEFORMATEX* header = reinterpret_cast<const WAVEFORMATEX*>(format);
    if (header->wFormatTag == WAVE_FORMAT_PCM) return true;
    if (header->wFormatTag != WAVE_FORMAT_EXTENSIBLE ||
        header->cbSize < sizeof(WAVEFORMATEXTENSIBLE) - sizeof(WAVEFORMATEX))
        return false;
    WAVEFORMATEXTENSIBLE extensible;
    std::memcpy(&extensible, format, sizeof(extensible));
    return IsEqualGUID(extensible.SubFormat, kSubtypePcm) != FALSE;
}
} // namespace

CWaveFile::CWaveFile() = default;

CWaveFile::~CWaveFile() {
    Close();
}

HRESULT CWaveFile::Open(const char* fileName) {
    Close();
    m_format.reset();
    if (!fileName) return E_FAIL;
    m_file.Reset(mmioOpenA(const_cast<char*>(fileName), nullptr, MMIO_READ | MMIO_ALLOCBUF));
    if (!m_file) return E_FAIL;

    m_riff = {};
    if (mmioDescend(m_file.Get(), &m_riff, nullptr, 0) != MMSYSERR_NOERROR) return Fail();
    if (m_riff.ckid != FOURCC_RIFF || m_riff.fccType != mmioFOURCC('W', 'A', 'V', 'E'))
        return Fail();

    // Chunks are only looked for where the file really has bytes, whatever the sizes claim.
    LONG fileSize = mmioSeek(m_file.Get(), 0, SEEK_END);
    if (fileSize < 0) return Fail();
    ULONGLONG riffEnd = ULONGLONG(m_riff.dwDataOffset) + m_riff.cksize;
    m_riffEnd = DWORD(std::min<ULONGLONG>(riffEnd, ULONGLONG(fileSize)));
    LONG formStart = LONG(m_riff.dwDataOffset + sizeof(FOURCC));
    if (mmioSeek(m_file.Get(), formStart, SEEK_SET) != formStart) return Fail();

    if (FAILED(ReadFormat())) return Fail();
    if (FAILED(ResetToData())) return Fail();
    // A sound without one whole sample frame cannot be played: no sound buffer can be made
    // for it, and the player needs its buffers to open the device at all.
    if (m_data.cksize == 0) return Fail();
    return S_OK;
}

HRESULT CWaveFile::ReadFormat() {
    MMCKINFO chunk = {};
    if (!FindChunk(mmioFOURCC('f', 'm', 't', ' '), &chunk)) return E_FAIL;
    if (chunk.cksize < kBaseFormatSize) return E_FAIL;

    WAVEFORMATEX base = {};
    if (mmioRead(m_file.Get(), reinterpret_cast<HPSTR>(&base), kBaseFormatSize) !=
        LONG(kBaseFormatSize))
        return E_FAIL;
    if (base.nChannels == 0 || base.nBlockAlign == 0 || base.nSamplesPerSec == 0 ||
        base.wBitsPerSample == 0 || !IsPlayablePcm(base))
        return E_FAIL;

    if (base.wFormatTag == WAVE_FORMAT_PCM) {
        base.cbSize = 0;
        m_format.reset(new BYTE[sizeof(WAVEFORMATEX)]);
        std::memcpy(m_format.get(), &base, sizeof(WAVEFORMATEX));
    } else {
        // Other formats carry their extra size and extra bytes, all inside the chunk.
        WORD extra = 0;
        if (chunk.cksize < kFormatHeaderSize) return E_FAIL;
        if (mmioRead(m_file.Get(), reinterpret_cast<HPSTR>(&extra), sizeof(extra)) != sizeof(extra))
            return E_FAIL;
        if (ULONGLONG(kFormatHeaderSize) + extra > chunk.cksize) return E_FAIL;
        std::unique_ptr<BYTE[]> format(new BYTE[sizeof(WAVEFORMATEX) + extra]);
        base.cbSize = extra;
        std::memcpy(format.get(), &base, sizeof(WAVEFORMATEX));
        if (extra != 0 &&
            mmioRead(m_file.Get(), reinterpret_cast<HPSTR>(format.get()) + sizeof(WAVEFORMATEX),
                     extra) != LONG(extra))
            return E_FAIL;
        if (!IsPcmTag(format.get())) return E_FAIL;
        m_format = std::move(format);
    }

    if (mmioAscend(m_file.Get(), &chunk, 0) != MMSYSERR_NOERROR) {
        m_format.reset();
        return E_FAIL;
    }
    return S_OK;
}

HRESULT CWaveFile::ResetToData() {
    if (!m_file) return E_FAIL;
    LONG formStart = LONG(m_riff.dwDataOffset + sizeof(FOURCC));
    if (mmioSeek(m_file.Get(), formStart, SEEK_SET) != formStart) return E_FAIL;
    MMCKINFO chunk = {};
    if (!FindChunk(mmioFOURCC('d', 'a', 't', 'a'), &chunk)) return E_FAIL;
    if (chunk.cksize > kMaxDataSize) return E_FAIL;
    // Bytes after the last whole sample frame are not sound: they are left out, so the
    // sound ends on a frame and its buffers hold whole frames only.
    const WAVEFORMATEX* format = GetFormat();
    if (format) chunk.cksize -= chunk.cksize % format->nBlockAlign;
    m_data = chunk;
    m_bytesLeft = chunk.cksize;
    return S_OK;
}

// Walks the chunks from the current position to the end of the RIFF chunk and stops inside
// the first one with the given id. A chunk that claims to reach past the RIFF chunk (or the
// file) ends the search: its size cannot be trusted, and skipping it could wrap around.
bool CWaveFile::FindChunk(FOURCC id, MMCKINFO* chunk) {
    for (;;) {
        LONG position = mmioSeek(m_file.Get(), 0, SEEK_CUR);
        if (position < 0 || ULONGLONG(position) + 2 * sizeof(DWORD) > m_riffEnd) return false;
        MMCKINFO found = {};
        if (mmioDescend(m_file.Get(), &found, nullptr, 0) != MMSYSERR_NOERROR) return false;
        ULONGLONG end = ULONGLONG(found.dwDataOffset) + found.cksize;
        if (end > m_riffEnd) return false;
        if (found.ckid == id) {
            *chunk = found;
            return true;
        }
        ULONGLONG next = end + (found.cksize & 1);
        if (next >= m_riffEnd) return false;
        if (mmioSeek(m_file.Get(), LONG(next), SEEK_SET) != LONG(next)) return false;
    }
}

HRESULT CWaveFile::Read(UINT count, BYTE* destination, UINT* bytesRead) {
    if (bytesRead) *bytesRead = 0;
    if (!m_file.Get() || (!destination && count != 0)) return E_FAIL;

    MMIOINFO info = {};
    if (mmioGetInfo(m_file.Get(), &info, 0) != MMSYSERR_NOERROR) return E_FAIL;
    UINT wanted = std::min<UINT>(count, m_bytesLeft);
    UINT done = 0;
    HRESULT result = S_OK;
    while (done < wanted) {
        if (info.pchNext == info.pchEndRead) {
            if (mmioAdvance(m_file.Get(), &info, MMIO_READ) != MMSYSERR_NOERROR ||
                info.pchNext == info.pchEndRead) {
                result = E_FAIL;
                break;
            }
        }
        UINT available = UINT(info.pchEndRead - info.pchNext);
        UINT step = std::min(available, wanted - done);
        std::memcpy(destination + done, info.pchNext, step);
        info.pchNext += step;
        done += step;
    }
    mmioSetInfo(m_file.Get(), &info, 0);
    m_bytesLeft -= done;
    if (bytesRead) *bytesRead = done;
    return result;
}

void CWaveFile::Close() {
    m_file.Close();
}

HRESULT CWaveFile::Fail() {
    m_format.reset();
    Close();
    return E_FAIL;
}
