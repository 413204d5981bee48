#include "dede/serve/issue_positions.h"

namespace brindle::preview {

dede::TextPosition IssuePositions::at(const dede::RenderIssue& issue) {
    auto text = texts_.find(issue.file);
    if (text == texts_.end()) text = texts_.emplace(issue.file, renderer_.read_template(issue.file).value_or("")).first;
    return dede::LineIndex(text->second).at(issue.offset);
}

}  // namespace brindle::preview
