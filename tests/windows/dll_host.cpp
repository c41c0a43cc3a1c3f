// A migration host in miniature, for Windows: loads QRT_KVSWX_server.dll at
// run time (LoadLibraryW, GetProcAddress), calls the entry point the way the
// real host does and frees both out strings with SysFreeString. Checks that
// the DLL exports no free function of its own, that complete requests hand
// back BSTRs, and that requests with a null member (or no request) are
// refused without touching the out strings.
//
//   kvswx_dll_host DLL RECORDING OUT_FOLDER LOG_PATH
//
// Arguments may hold any Unicode characters. Prints one line per check and
// "N passed, M failed"; exit status 0 when all passed.
#include <windows.h>

#include <oleauto.h>

#include <cwchar>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "kvswx/extract_request.h"
#include "platform/os.h"
#include "platform/text.h"
#include "recorded/recording.h"
#include "source/class_registry.h"

namespace {

int passed = 0;
int failed = 0;

void Check(bool ok, const std::string& what) {
    std::cout << (ok ? "ok: " : "FAILED: ") << what << '\n';
    (ok ? passed : failed)++;
}

// A BSTR's recorded length agrees with its terminator, and every entry of a
// list ends with a line feed.
bool IsListBstr(BSTR s) {
    if (s == nullptr) return true;
    const UINT len = SysStringLen(s);
    return len == std::wcslen(s) && SysStringByteLen(s) == len * sizeof(OLECHAR) && len > 0 && s[len - 1] == L'\n';
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args = kvswx::CommandLineUtf8(argc, argv);
    if (args.size() != 5) {
        std::cerr << "usage: kvswx_dll_host DLL RECORDING OUT_FOLDER LOG_PATH\n";
        return 2;
    }
    const std::wstring dllPath = kvswx::FromUtf8(args[1]);
    const std::wstring outFolder = kvswx::FromUtf8(args[3]);
    const std::wstring logPath = kvswx::FromUtf8(args[4]);

    std::shared_ptr<kvswx::recorded::Recording> recording;
    try {
        recording = kvswx::recorded::LoadRecording(kvswx::PathFromUtf8(args[2]));
    } catch (const std::exception& e) {
        std::cerr << "kvswx_dll_host: " << e.what() << '\n';
        return 2;
    }
    const kvswx::Ref<kvswx::SourceApplication> application = recording->Application();
    const kvswx::ScopedClassRegistration registration(kvswx::kSourceApplicationProgId,
                                                      [application] { return application; });

    HMODULE dll = LoadLibraryW(dllPath.c_str());
    Check(dll != nullptr, "LoadLibraryW " + args[1]);
    if (dll == nullptr) return 1;
    const auto extract = reinterpret_cast<KV_SWX_ExtractDrawingViewInfoFn>(
        reinterpret_cast<void*>(GetProcAddress(dll, "KV_SWX_ExtractDrawingViewInfo")));
    Check(extract != nullptr, "GetProcAddress KV_SWX_ExtractDrawingViewInfo");
    Check(GetProcAddress(dll, "KV_SWX_FreeString") == nullptr, "no KV_SWX_FreeString export");
    if (extract == nullptr) return 1;

    kvswx::Ref<kvswx::SourceDocument> document = recording->Document();

    // Requests with one null member each, then no request at all: refused,
    // and the out strings the host set beforehand stay as they were.
    for (int member = 1; member <= 6; ++member) {
        BSTR documents = SysAllocString(L"untouched");
        BSTR configurations = SysAllocString(L"untouched");
        BSTR* documentsOut = &documents;
        BSTR* configurationsOut = &configurations;
        KV_SWX_ExtractRequest request{&document, outFolder.c_str(), logPath.c_str(), documentsOut, configurationsOut, 0};
        if (member == 1) request.document = nullptr;
        if (member == 2) request.outputFolder = nullptr;
        if (member == 3) request.logPath = nullptr;
        if (member == 4) request.referencedDocuments = nullptr;
        if (member == 5) request.referencedConfigurations = nullptr;
        const int32_t result = extract(member == 6 ? nullptr : &request);
        const std::string what = member == 6 ? "no request" : "request with member " + std::to_string(member) + " null";
        Check(result == 0 && std::wcscmp(documents, L"untouched") == 0 &&
                  std::wcscmp(configurations, L"untouched") == 0,
              what + ": refused, out strings untouched");
        SysFreeString(documents);
        SysFreeString(configurations);
    }

    // The complete request: the run takes place and hands back BSTRs.
    BSTR documents = nullptr;
    BSTR configurations = nullptr;
    KV_SWX_ExtractRequest request{&document, outFolder.c_str(), logPath.c_str(), &documents, &configurations, 0};
    const int32_t result = extract(&request);
    Check(result == 1, "complete request: result 1");
    Check(IsListBstr(documents) && IsListBstr(configurations), "out strings are BSTR lists");
    std::cout << "# referenced documents\n" << kvswx::ToUtf8(documents == nullptr ? L"" : documents);
    std::cout << "# referenced configurations\n" << kvswx::ToUtf8(configurations == nullptr ? L"" : configurations);
    SysFreeString(documents);
    SysFreeString(configurations);
    Check(recording->Finished(), "document finished");

    Check(FreeLibrary(dll) != 0, "FreeLibrary");
    std::cout << passed << " passed, " << failed << " failed\n";
    return failed == 0 ? 0 : 1;
}
