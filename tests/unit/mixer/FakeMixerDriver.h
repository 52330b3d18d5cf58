// An in-process mixer driver for the model's tests: devices, lines and controls described by
// the test, installed as the current mixer table. It records the calls the model makes.
#pragma once

#include "MixerApi.h"

#include <string>
#include <vector>

struct FakeControl {
    DWORD id;
    DWORD type;
    DWORD flags = 0;
    DWORD items = 0;
    std::vector<DWORD> values;      // what the driver holds (count as the model computes it)
    std::vector<std::string> texts; // list texts
    DWORD minimum = 0;              // bounds (signed ones as their bit pattern)
    DWORD maximum = 0;
    DWORD steps = 0;
};

struct FakeLine {
    DWORD lineId;
    std::string shortName;
    DWORD channels = 2;
    std::vector<FakeControl> controls;
    std::vector<FakeLine> sources; // destinations only
};

struct FakeDevice {
    std::string name = "Quenda Wave";
    WORD mid = 1;
    WORD pid = 104;
    bool failOpen = false;
    std::vector<FakeLine> destinations;
};

class FakeMixerDriver {
public:
    FakeMixerDriver();  // installs itself
    ~FakeMixerDriver(); // restores the environment's table

    std::vector<FakeDevice> devices;
    bool failDetails = false; // every detail call fails

    // Recorded calls.
    std::vector<UINT> opened; // device IDs passed to mixerOpen
    DWORD openFlags = 0;
    DWORD_PTR openCallback = 0;
    int closes = 0;
    int getDetails = 0;
    int setDetails = 0;
    MIXERCONTROLDETAILS lastSet = {};
    std::vector<DWORD> lastSetValues;

    FakeControl* Find(DWORD controlId);
    static constexpr UINT_PTR kHandle = 0x4711;

private:
    MixerApi m_api;
};
