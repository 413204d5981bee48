#pragma once
// The rows of each tab page, one source file per page.
#include <vector>

#include "app/catalogue.h"

namespace brindle::app {

std::vector<Control> catalogue_page0();
std::vector<Control> catalogue_page1();
std::vector<Control> catalogue_page2();
std::vector<Control> catalogue_page3();
std::vector<Control> catalogue_page4();
std::vector<Control> catalogue_page5();
std::vector<Control> catalogue_page6();

}  // namespace brindle::app
