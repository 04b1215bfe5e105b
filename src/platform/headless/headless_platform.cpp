// SPDX-License-Identifier: MIT
// headless_platform.cpp: the platform in memory.
#include "platform/headless/headless_platform.h"

namespace rubicel {

HeadlessPlatform::MenuState& HeadlessPlatform::menu(MenuId item) { return menus[{item.control, item.index}]; }

const HeadlessPlatform::MenuState* HeadlessPlatform::findMenu(MenuControl control, int index) const {
    const auto it = menus.find({control, index});
    return it == menus.end() ? nullptr : &it->second;
}

void HeadlessPlatform::setMenuChecked(MenuId item, bool checked) { menu(item).checked = checked; }
void HeadlessPlatform::setMenuEnabled(MenuId item, bool enabled) { menu(item).enabled = enabled; }
void HeadlessPlatform::setMenuCaption(MenuId item, const std::string& caption) { menu(item).caption = caption; }
void HeadlessPlatform::popupMenu(MenuId menu) { popups.emplace_back(menuControlName(menu.control)); }

void HeadlessPlatform::messageBox(const std::string& text, const std::string& title, Icon icon) {
    messages.push_back({text, title, icon});
    if (echo) echo(messages.back());
}

void HeadlessPlatform::mapImageReset(const Raster& image) {
    ++imageResets;
    if (onImageReset) onImageReset(image);
}
void HeadlessPlatform::mapRowsChanged(int first, int last) {
    ++rowsChanged;
    if (onRowsChanged) onRowsChanged(first, last);
}

TwipRect HeadlessPlatform::controlRect(Control control) const {
    const auto it = rects.find(control);
    return it == rects.end() ? TwipRect{} : it->second;
}
void HeadlessPlatform::setControlRect(Control control, TwipRect rect) { rects[control] = rect; }
void HeadlessPlatform::setControlVisible(Control control, bool visible) { visibility[control] = visible; }

bool HeadlessPlatform::visible(Control control) const {
    const auto it = visibility.find(control);
    return it != visibility.end() && it->second;
}

int HeadlessPlatform::scrollValue(Control bar) const {
    const auto it = scrollValues.find(bar);
    return it == scrollValues.end() ? 0 : it->second;
}

int HeadlessPlatform::scrollMaximum(Control bar) const {
    const auto it = scrollMaximums.find(bar);
    return it == scrollMaximums.end() ? 0 : it->second;
}

void HeadlessPlatform::setScrollValue(Control bar, int value) { scrollValues[bar] = value; }

void HeadlessPlatform::setScrollMaximum(Control bar, int maximum) {
    scrollMaximums[bar] = maximum;
    // The bar's minimum is 0; a value above a new maximum is pulled down to it.
    int& value = scrollValues[bar];
    if (value > maximum) value = maximum < 0 ? 0 : maximum;
}

bool HeadlessPlatform::annotatedMap(Raster& image) {
    image = annotatedMapPicture;
    return !image.empty();
}

void HeadlessPlatform::yieldToEvents() {
    ++yields;
    if (onProgress) onProgress(yields);
    if (onYield) onYield(yields);
}

void HeadlessPlatform::showToolWindow(ToolWindow window, int left, int top) {
    toolEvents.push_back({ToolEvent::Show, window, left, top});
    ToolState& state = tools[window];
    state.shown = true;
    state.left = left;
    state.top = top;
    if (onToolWindowShown) onToolWindowShown(window);
}

void HeadlessPlatform::closeToolWindow(ToolWindow window) {
    toolEvents.push_back({ToolEvent::Close, window});
    tools[window] = ToolState{};
}

void HeadlessPlatform::keepOnTop(ToolWindow window) {
    toolEvents.push_back({ToolEvent::KeepOnTop, window});
    tools[window].onTop = true;
}

void HeadlessPlatform::toolWindowChanged(ToolWindow window) {
    toolEvents.push_back({ToolEvent::Changed, window});
    ++tools[window].changes;
}

bool HeadlessPlatform::checked(MenuControl control, int index) const {
    const MenuState* m = findMenu(control, index);
    return m && m->checked;
}

bool HeadlessPlatform::enabled(MenuControl control, int index) const {
    const MenuState* m = findMenu(control, index);
    return !m || m->enabled;
}

std::string HeadlessPlatform::caption(MenuControl control, int index) const {
    const MenuState* m = findMenu(control, index);
    return m ? m->caption : std::string();
}

std::vector<int> HeadlessPlatform::checkedIndexes(MenuControl control) const {
    std::vector<int> result;
    for (const auto& [key, state] : menus)
        if (key.first == control && state.checked) result.push_back(key.second);
    return result;
}

}  // namespace rubicel
