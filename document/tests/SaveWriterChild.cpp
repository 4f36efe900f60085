// The other process of the Windows save tests, which kill it at random moments or name their
// temporaries after it:
//   save_writer_child save TARGET   saves two block records by turns into TARGET until it is
//                                   killed; writes one byte to its standard output once the first
//                                   save is complete
//   save_writer_child wait          waits until it is killed

#include <windows.h>

#include <shellapi.h>

#include <filesystem>
#include <string>

#include "BlockFile.h"
#include "FileSystem.h"
#include "TestBlocks.h"

int main()
{
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr || count < 2)
        return 2;
    const std::wstring mode = arguments[1];
    if (mode == L"wait") {
        Sleep(INFINITE);
        return 0;
    }
    if (mode != L"save" || count != 3)
        return 2;
    const std::string target = chokusho::PathToUtf8(std::filesystem::path(arguments[2]));
    const chokusho::BlockData first = chokusho::test::FullRecord(1);
    const chokusho::BlockData second = chokusho::test::FullRecord(2);
    try {
        for (bool told = false;; told = true) {
            chokusho::WriteBlockFile(second, target);
            DWORD written = 0;
            if (!told && (!WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "s", 1, &written, nullptr) || written != 1))
                return 3;
            chokusho::WriteBlockFile(first, target);
        }
    } catch (...) {
        return 4;
    }
}
