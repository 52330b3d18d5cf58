// Reader of the RIFF/WAVE test sound through the multimedia file I/O functions.
#pragma once

#include "Platform.h"

#include "UniqueHandle.h"

#include <mmsystem.h>

#include <memory>

// Files opened with mmioOpen.
struct MmioTraits {
    using Handle = HMMIO;
    static Handle Empty() { return nullptr; }
    static bool IsValid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { mmioClose(h, 0); }
};

class CWaveFile {
public:
    // Sounds longer than this are refused: the test sound is a second or two, and the player
    // allocates one buffer of this size per speaker.
    static const DWORD kMaxDataSize = 4 * 1024 * 1024;
    // More channels than the player has speakers is no test sound.
    static const WORD kMaxChannels = 8;

    CWaveFile();
    ~CWaveFile();
    CWaveFile(const CWaveFile&) = delete;
    CWaveFile& operator=(const CWaveFile&) = delete;

    // Opens the file and checks it: a RIFF/WAVE file with a "fmt " chunk of integer PCM
    // (plain, or extensible with the PCM subformat) of at most kMaxChannels channels whose
    // block size and byte rate agree with its samples, and a "data" chunk that lies inside the
    // file and holds at least one sample frame. S_OK, or E_FAIL with the file closed. The
    // sound is the data's whole frames: bytes of a last partial frame are not part of it.
    HRESULT Open(const char* fileName);
    // Positions the reader at the start of the sound data again. S_OK or E_FAIL.
    HRESULT ResetToData();
    // Reads up to count bytes of sound data (no more than what is left of it). S_OK or E_FAIL.
    HRESULT Read(UINT count, BYTE* destination, UINT* bytesRead);
    void Close();

    // The format: a WAVEFORMATEX followed by its cbSize extra bytes; null while not open.
    WAVEFORMATEX* GetFormat() { return reinterpret_cast<WAVEFORMATEX*>(m_format.get()); }
    // Length of the sound data in bytes (whole sample frames).
    DWORD GetSize() const { return m_data.cksize; }
    bool IsOpen() const { return m_file.IsValid(); }

private:
    HRESULT ReadFormat();
    bool FindChunk(FOURCC id, MMCKINFO* chunk);
    HRESULT Fail(); // drops the format, closes the file, E_FAIL

    std::unique_ptr<BYTE[]> m_format;
    CUniqueHandle<MmioTraits> m_file;
    MMCKINFO m_data = {};
    MMCKINFO m_riff = {};
    // Where the RIFF chunk's contents end, clipped to the end of the file.
    DWORD m_riffEnd = 0;
    DWORD m_bytesLeft = 0;
};
