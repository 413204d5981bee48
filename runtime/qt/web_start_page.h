#pragma once
// What the web browser box shows without a browser engine: a data: or file: start page as rich
// text, any other address as a link that the system browser opens.
#include <QString>

namespace brindle::runtime::qt {

struct StartPage {
    QString html;
    bool is_link = false;  // html is a link to the address
};

StartPage start_page_for(const QString& address);

}  // namespace brindle::runtime::qt
