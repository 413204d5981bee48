#pragma once
// Qt's own texts (a text box's context menu, standard dialogs) in Chinese like the rest of the
// window, from the system's Qt translations. Without them installed they stay English.
namespace brindle::runtime::qt {

// Call once the QApplication exists and before any window is made.
void load_chinese_qt_texts();

}  // namespace brindle::runtime::qt
