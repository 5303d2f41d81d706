#pragma once
#include <string>

// A fresh folder that is the working directory while the object lives, as a game folder is
// for the engine; removed afterwards.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::string& path() const { return folder; }

private:
    std::string folder;
    std::string previous;
};
