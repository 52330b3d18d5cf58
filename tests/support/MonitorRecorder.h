// Recording what the test sound puts on the scripts' sound server (a six-channel null sink
// described as "Quenda Wave").
#pragma once

#include "Platform.h"

#include "Pump.h"
#include "UniqueHandle.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

// Records the sink's monitor with the sound server's own recorder into a file beside the
// test (a Unix program started from here cannot write into a Windows pipe). The recorder ends
// by itself after a few seconds, so nothing outlives the test for long.
class CMonitorRecorder {
public:
    ~CMonitorRecorder() { Stop(); }

    bool Start() {
        m_path = "monitor-" + std::to_string(GetCurrentProcessId()) + ".raw";
        DeleteFileA(m_path.c_str());
        std::string command = "Z:\\bin\\sh -c \"exec timeout 6 parec --device=quenda_wave.monitor "
                              "--raw --format=s16le --rate=44100 --channels=6 --latency-msec=20 "
                              ">" +
                              m_path + " 2>/dev/null </dev/null\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process))
            return false;
        CKernelHandle thread(process.hThread), child(process.hProcess);
        // Wait for the recording to begin.
        return PumpUntil(
            [&] {
                m_file.Reset(CreateFileA(m_path.c_str(), GENERIC_READ,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, 0, nullptr));
                return m_file.IsValid();
            },
            5000);
    }

    // Reads until a sample of at least the given level arrives; false on time-out.
    bool WaitForSound(int level, DWORD timeoutMs) {
        return PumpUntil([&] { return ReadSome() > 0 && m_peak >= level; }, timeoutMs);
    }
    // The loudest sample read since the last call.
    int TakePeak() {
        ReadSome();
        int peak = m_peak;
        m_peak = 0;
        return peak;
    }
    // Reads what was recorded so far; the number of samples read.
    size_t ReadSome() {
        size_t total = 0;
        std::vector<int16_t> samples(32768);
        for (;;) {
            DWORD read = 0;
            if (!ReadFile(m_file.Get(), samples.data(), DWORD(samples.size() * sizeof(int16_t)),
                          &read, nullptr) ||
                read == 0)
                return total;
            for (size_t i = 0; i < read / sizeof(int16_t); ++i)
                m_peak = std::max(m_peak, std::abs(int(samples[i])));
            total += read / sizeof(int16_t);
        }
    }

    void Stop() {
        m_file.Close();
        if (!m_path.empty()) DeleteFileA(m_path.c_str());
    }

private:
    std::string m_path;
    CKernelHandle m_file;
    int m_peak = 0;
};
