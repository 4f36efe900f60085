// Reads the application manifest out of the chokusho.exe beside this program, the way Windows
// finds it when it starts the program (resource 1 of type RT_MANIFEST), and checks what Windows
// takes from it: the rights it runs with, the Windows versions it knows, its DPI awareness and its
// version (the argument).
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: program_manifest_test VERSION\n");
        return 2;
    }
    wchar_t self[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring program(self, length);
    program.replace(program.find_last_of(L'\\') + 1, std::wstring::npos, L"chokusho.exe");

    const HMODULE module = LoadLibraryExW(program.c_str(), nullptr,
                                          LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (module == nullptr) {
        std::fprintf(stderr, "chokusho.exe does not load as a resource file (error %lu)\n", GetLastError());
        return 1;
    }
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
    const HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    if (loaded == nullptr) {
        std::fprintf(stderr, "chokusho.exe has no manifest (resource 1 of type RT_MANIFEST)\n");
        return 1;
    }
    const std::string manifest(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found));

    const std::string expected[] = {
        "level=\"asInvoker\"",
        "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>",  // Windows 10 and 11
        ">PerMonitorV2</dpiAwareness>",
        "version=\"" + std::string(argv[1]) + "\"",
    };
    int faults = 0;
    for (const std::string& text : expected) {
        if (manifest.find(text) == std::string::npos) {
            std::fprintf(stderr, "the manifest of chokusho.exe lacks %s\n", text.c_str());
            ++faults;
        }
    }
    FreeLibrary(module);
    return faults == 0 ? 0 : 1;
}
