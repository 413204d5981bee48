#include "tools/preview/issue_positions.h"

#include "common/input_file.h"

namespace brindle::preview {

dede::TextPosition IssuePositions::at(const dede::RenderIssue& issue) {
    auto text = texts_.find(issue.file);
    if (text == texts_.end()) {
        auto read = read_input_file(issue.file);
        std::string bytes = read ? std::string(read->begin(), read->end()) : std::string();
        text = texts_.emplace(issue.file, std::move(bytes)).first;
    }
    return dede::LineIndex(text->second).at(issue.offset);
}

}  // namespace brindle::preview
