#pragma once

#include <QTemporaryDir>
#include <memory>
#include <string>

#include "BlockData.h"
#include "DocumentState.h"
#include "ProgramFiles.h"
#include "frmMain.h"

namespace chokusho::test {

/** A main window whose program and configuration folders are fresh temporary folders. */
struct WindowFixture {
    QTemporaryDir program;
    QTemporaryDir config;
    DocumentState state;
    std::unique_ptr<frmMain> window;

    ProgramFolders folders() const;
    frmMain& make();
    /** Makes the window and shows it; a window that is never exposed is reported, not waited for. */
    frmMain& show();
};

/**
 * A window fixture with a data folder beside it that holds two blocks, BLK1.csv (`first`) and
 * BLK2.csv (`second`), and NOTES.CSV, a comma-separated file that is no block file.
 */
struct DataFolderFixture : WindowFixture {
    QTemporaryDir data;
    BlockData first;
    BlockData second;

    DataFolderFixture();
    ~DataFolderFixture();
    DataFolderFixture(const DataFolderFixture&) = delete;
    DataFolderFixture& operator=(const DataFolderFixture&) = delete;

    /** The UTF-8 path of the file `name` in the data folder. */
    std::string dataFile(const char* name) const;
    /** The data folder as DocumentState::DataPath holds it: native separators, one at the end. */
    std::string dataPath() const;
    /** Makes the window and then points it at the data folder, over the folder it remembered. */
    frmMain& makeOnData();
};

}  // namespace chokusho::test
