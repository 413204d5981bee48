#pragma once
// A control of the window that lies over the tab control (隐藏我 over the corner of page 4's frame and
// page 6's last box) keeps its place but is cut away where a text box of the page in view lies under
// it, as if stacked below the page's text boxes: no typed or shown text is hidden, and a click there
// reaches the box.
class QTabWidget;

namespace brindle::runtime::qt {

// Applies to the controls beside the tab control at the time of the call, for every page from now on.
void keep_text_boxes_uncovered(QTabWidget& tabs);

}  // namespace brindle::runtime::qt
