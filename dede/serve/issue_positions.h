#pragma once
// Lines and columns of the renderer's issues, in the text of the file each names as the renderer
// read it (its offsets are in that text: a GBK site's files decoded), each file read once.
#include <map>
#include <string>

#include "dede/line_index.h"
#include "dede/renderer.h"

namespace brindle::preview {

class IssuePositions {
public:
    explicit IssuePositions(dede::Renderer& renderer) : renderer_(renderer) {}
    // The text a file name stands for when it is no file (--tag), or a file already read.
    void add(const std::string& file, std::string text) { texts_[file] = std::move(text); }
    dede::TextPosition at(const dede::RenderIssue& issue);

private:
    dede::Renderer& renderer_;
    std::map<std::string, std::string> texts_;
};

}  // namespace brindle::preview
