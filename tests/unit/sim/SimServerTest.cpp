#include "Platform.h"

#include "ComInit.h"
#include "ComPtr.h"
#include "SimCardControl.h"
#include "SimDevice.h"
#include "SimRegistration.h"
#include "SimState.h"
#include "UniqueHandle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

std::string BesideTest(const char* file) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1) + file;
}

// Runs a program of the build and returns its exit code and standard output.
int Run(const std::string& commandLine, std::string* output = nullptr) {
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    CKernelHandle readEnd, writeEnd;
    if (!CreatePipe(readEnd.Receive(), writeEnd.Receive(), &inherit, 0)) return -1;
    SetHandleInformation(readEnd.Get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd.Get();
    startup.hStdError = writeEnd.Get();
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;
    BOOL started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                  &startup, &process);
    writeEnd.Close();
    if (!started) return -1;
    CKernelHandle thread(process.hThread), child(process.hProcess);
    std::string text;
    char buffer[256];
    DWORD read = 0;
    while (ReadFile(readEnd.Get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
        text.append(buffer, read);
    WaitForSingleObject(child.Get(), 60000);
    DWORD code = 0;
    GetExitCodeProcess(child.Get(), &code);
    if (output) {
        text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
        *output = text;
    }
    return static_cast<int>(code);
}

int Ctl(const std::string& arguments, std::string* output = nullptr) {
    return Run("\"" + BesideTest("quendasim-ctl.exe") + "\" " + arguments, output);
}

int Regsvr32(const char* flags) {
    return Run(std::string("regsvr32.exe ") + flags + " \"" + BesideTest("quendasim.dll") + "\"");
}

std::string ClassKey() {
    LPOLESTR text = nullptr;
    StringFromCLSID(CLSID_SimCardControl, &text);
    char clsid[64] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, clsid, sizeof(clsid) - 1, nullptr, nullptr);
    CoTaskMemFree(text);
    return std::string("CLSID\\") + clsid + "\\InprocServer32";
}

std::string ClassValue(const char* name) {
    char value[MAX_PATH] = {};
    DWORD size = sizeof(value);
    if (RegGetValueA(HKEY_CLASSES_ROOT, ClassKey().c_str(), name, RRF_RT_REG_SZ, nullptr, value,
                     &size) != ERROR_SUCCESS)
        return {};
    return value;
}

bool DriverFileHasVersion() {
    std::string path = SimDriverPath();
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return false;
    std::string data(size, '\0');
    if (!GetFileVersionInfoA(path.c_str(), 0, size, &data[0])) return false;
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    return VerQueryValueA(&data[0], "\\", reinterpret_cast<void**>(&info), &length) && info &&
           info->dwFileType == VFT_DRV && info->dwFileVersionMS != 0;
}

class SimServer : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(m_com.Initialize())); }
    CComInit m_com;
};

TEST_F(SimServer, OneObjectAnswersForEachOfTheSixInterfaces) {
    for (const IID& iid : kSimCardControlIids) {
        CComPtr<ISimCardControl> control;
        ASSERT_EQ(CoCreateInstance(CLSID_SimCardControl, nullptr, CLSCTX_INPROC_SERVER, iid,
                                   control.ReceiveVoid()),
                  S_OK);
        DWORD mode = 0;
        EXPECT_EQ(control->GetProperty(3, &mode, sizeof(mode)), 1);
        // The same object under every id, and no other interface.
        CComPtr<IUnknown> identity;
        ASSERT_EQ(control.QueryInterface(IID_IUnknown, identity), S_OK);
        CComPtr<IUnknown> other;
        for (const IID& sibling : kSimCardControlIids) {
            ASSERT_EQ(control.QueryInterface(sibling, other), S_OK);
            EXPECT_EQ(static_cast<void*>(other.Get()), static_cast<void*>(control.Get()));
        }
        void* refused = &other; // anything but null: the object must clear it
        EXPECT_EQ(control->QueryInterface(IID_IClassFactory, &refused), E_NOINTERFACE);
        EXPECT_EQ(refused, nullptr);
    }
    void* object = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_SimCardControl, nullptr, CLSCTX_INPROC_SERVER,
                               IID_IClassFactory, &object),
              E_NOINTERFACE);
}

TEST_F(SimServer, APropertyWrittenInOneProcessIsReadInAnotherAndKept) {
    CComPtr<ISimCardControl> control;
    ASSERT_EQ(CoCreateInstance(CLSID_SimCardControl, nullptr, CLSCTX_INPROC_SERVER,
                               kSimCardControlIids[3], control.ReceiveVoid()),
              S_OK);
    LONG effect = 11, savedEffect = 0;
    DWORD savedMode = 0;
    ASSERT_EQ(control->GetProperty(5, &savedEffect, sizeof(savedEffect)), 1);
    ASSERT_EQ(control->GetProperty(3, &savedMode, sizeof(savedMode)), 1);
    ASSERT_EQ(control->SetProperty(5, &effect, sizeof(effect)), 1);
    std::string output;
    EXPECT_EQ(Ctl("prop get 5", &output), 0);
    EXPECT_EQ(output, "11 0 0 0\n");

    EXPECT_EQ(Ctl("prop set 5 22 0 0 0"), 0);
    EXPECT_EQ(control->GetProperty(5, &effect, sizeof(effect)), 1);
    EXPECT_EQ(effect, 22);

    // The card refuses what it refuses from any process; the control program says so.
    EXPECT_NE(Ctl("prop set 5 23 0 0 0"), 0);
    EXPECT_NE(Ctl("prop set 5 1 0 0"), 0);
    EXPECT_NE(Ctl("prop set 5 256 0 0 0"), 0);
    EXPECT_NE(Ctl("prop get 6"), 0);
    EXPECT_EQ(control->GetProperty(5, &effect, sizeof(effect)), 1);
    EXPECT_EQ(effect, 22);

    // The speaker mode is set from outside and kept in the state file.
    EXPECT_EQ(Ctl("prop set 3 3 0 0 0"), 0);
    DWORD mode = 0;
    control->GetProperty(3, &mode, sizeof(mode));
    EXPECT_EQ(mode, 3u);
    SimPersistent kept;
    ASSERT_TRUE(CSimState::LoadFile(CSimState::StatePath(), &kept));
    EXPECT_EQ(kept.vendor.speakerMode, 3u);
    EXPECT_EQ(kept.vendor.effect, 22);
    control->SetProperty(5, &savedEffect, sizeof(savedEffect));
    control->SetProperty(3, &savedMode, sizeof(savedMode));
}

TEST_F(SimServer, RegistrationInstallsAndRemovesClassDeviceAndDriverFile) {
    ASSERT_EQ(Regsvr32("/s"), 0);
    // Registering again leaves one card.
    ASSERT_EQ(Regsvr32("/s"), 0);
    EXPECT_EQ(FindMediaDevices(kSimDeviceEnumerator, kSimCardHardwareId).size(), 1u);
    std::string server = ClassValue(nullptr);
    EXPECT_EQ(server.substr(server.find_last_of('\\') + 1), "quendasim.dll");
    EXPECT_EQ(ClassValue("ThreadingModel"), "Apartment");
    EXPECT_TRUE(DriverFileHasVersion());

    ASSERT_EQ(Regsvr32("/s /u"), 0);
    EXPECT_TRUE(FindMediaDevices(kSimDeviceEnumerator, kSimCardHardwareId).empty());
    EXPECT_EQ(ClassValue(nullptr), "");
    EXPECT_EQ(GetFileAttributesA(SimDriverPath().c_str()), INVALID_FILE_ATTRIBUTES);
    void* object = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_SimCardControl, nullptr, CLSCTX_INPROC_SERVER,
                               kSimCardControlIids[0], &object),
              REGDB_E_CLASSNOTREG);

    ASSERT_EQ(Regsvr32("/s"), 0);
    EXPECT_EQ(FindMediaDevices(kSimDeviceEnumerator, kSimCardHardwareId).size(), 1u);
    EXPECT_TRUE(DriverFileHasVersion());
}

} // namespace
