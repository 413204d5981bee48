#pragma once
// The application's features, one source each, in the order their routines are emitted. A new
// feature adds its function here, to both lists.
#include "app/app_build.h"

namespace brindle::app {

void add_window_routines(AppBuild& app);          // window created, tray, hide/show/close, forum
void add_palette_routines(AppBuild& app);         // snippet insertion
void add_copy_routines(AppBuild& app);            // copy buttons
void add_custom_field_routines(AppBuild& app);    // custom-field list builder and its no-op combo box
void add_slideshow_routines(AppBuild& app);       // slideshow builder
void add_document_list_routines(AppBuild& app);   // document-list builder
void add_list_page_routines(AppBuild& app);       // list-page builder
void add_navigation_routines(AppBuild& app);      // channel navigation builder
void add_clear_form_routines(AppBuild& app);      // clear button of the document-list form


inline constexpr void (*kFeatures[])(AppBuild&) = {
    add_window_routines,     add_palette_routines,       add_copy_routines,
    add_custom_field_routines, add_slideshow_routines,   add_document_list_routines,
    add_list_page_routines,  add_navigation_routines,    add_clear_form_routines,
};

}  // namespace brindle::app
