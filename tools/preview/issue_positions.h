#pragma once
// Lines and columns of the renderer's issues, by the bytes of the file each names (the renderer's
// offsets), each file read once.
#include <map>
#include <string>

#include "dede/line_index.h"
#include "dede/renderer.h"

namespace brindle::preview {

class IssuePositions {
public:
    // The text a file name stands for when it is no file (--tag), or a file already read.
    void add(const std::string& file, std::string text) { texts_[file] = std::move(text); }
    dede::TextPosition at(const dede::RenderIssue& issue);

private:
    std::map<std::string, std::string> texts_;
};

}  // namespace brindle::preview
