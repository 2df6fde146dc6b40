// The page navigator and task pane page: a small navigator (pane caption,
// client area, splitter, expanded items and the collapsed icon strip with
// its configuration button) in every item state, its painters one by one,
// and a task pane with group captions in every state.
#include <string>

#include "gallery_page.h"
#include "icons/cmd_icon.h"

namespace {

// A 16 by 16 picture: a blue card with a white band, on a magenta
// transparent ground.
VEzaCmdIcon& CardIcon() {
    static VEzaCmdIcon icon;
    if (!icon.IsEmpty()) return icon;
    HDC screen = ::GetDC(nullptr);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 16, 16);
    HDC mem = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(mem, bitmap);
    CDC* dc = CDC::FromHandle(mem);
    dc->FillSolidRect(0, 0, 16, 16, RGB(255, 0, 255));
    dc->FillSolidRect(1, 3, 14, 11, RGB(0, 70, 160));
    dc->FillSolidRect(3, 6, 10, 3, RGB(255, 255, 255));
    dc->FillSolidRect(3, 10, 6, 1, RGB(255, 210, 0));
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);
    icon.AssignFromHBITMAP(bitmap, RGB(255, 0, 255), nullptr, false);
    return icon;
}

void PaintNavigator(GalleryCanvas& canvas, const CRect& area) {
    CDC& dc = canvas.dc;
    VEzaPaintManager& pm = canvas.pm;
    const std::string& name = canvas.look;
    const int x = area.left + 10;
    int y = area.top + 8;
    canvas.Label(x, y, pm.GetRuntimeClass()->m_lpszClassName, true);
    y += 22;

    // A navigator 200 wide: pane caption, client area, splitter, four
    // expanded items (normal, hover, selected, selected under the mouse) and
    // the strip of collapsed items with the configuration button.
    const CRect nav(x, y, x + 200, y + 280);
    pm.PaintPageNavigatorBorder(dc, nav);
    CRect inner(nav);
    inner.DeflateRect(1, 1);
    const CRect pane(inner.left, inner.top, inner.right, inner.top + 24);
    pm.PaintPageNavigatorItemPaneCaption(dc, pane, "Personal Folders of the whole team");
    const CRect client(inner.left, pane.bottom, inner.right, pane.bottom + 70);
    pm.PaintPageNavigatorClientArea(dc, client, nullptr);
    canvas.Expect(CRect(client.left + 2, client.top + 2, client.left + 3, client.top + 3), pm.GetColor(COLOR_WINDOW),
                  name + " navigator client area");
    const CRect splitter(inner.left, client.bottom, inner.right, client.bottom + 8);
    pm.PaintPageNavigatorSplitter(dc, splitter, true);
    canvas.Expect(CRect(splitter.left + 5, splitter.top + 4, splitter.left + 6, splitter.top + 5), pm.GetColor(1000),
                  name + " splitter");
    static const struct {
        const char* text;
        bool selected, hover;
    } items[] = {{"Mail", false, false}, {"Calendar", false, true}, {"Contacts", true, false}, {"Tasks", true, true}};
    int top = splitter.bottom;
    for (const auto& item : items) {
        const CRect r(inner.left, top, inner.right, top + 32);
        pm.PaintPageNavigatorItem(dc, r, item.text, &CardIcon(), true, item.selected, item.hover);
        top += 32;
    }
    canvas.Expect(CRect(inner.right - 4, splitter.bottom + 10, inner.right - 3, splitter.bottom + 11),
                  pm.IsKindOf(RUNTIME_CLASS(VEzaPaintManagerXP)) ? pm.GetColor(1000) : pm.GetColor(COLOR_BTNSHADOW),
                  name + " item");
    // The collapsed strip: icons alone, then the configuration button.
    const CRect strip(inner.left, top, inner.right, inner.bottom);
    pm.PaintPageNavigatorItem(dc, strip, nullptr, nullptr, false, false, false);
    for (int i = 0; i < 4; ++i) {
        const CRect r(strip.left + 2 + i * 32, strip.top + 2, strip.left + 32 + i * 32, strip.bottom - 2);
        pm.PaintPageNavigatorItem(dc, r, nullptr, &CardIcon(), false, items[i].selected, items[i].hover);
    }
    pm.PaintPageNavigatorConfigButton(dc, CRect(strip.right - 24, strip.top, strip.right, strip.bottom), false, false);

    // The painters one by one, right of the navigator.
    const int x2 = x + 215, w2 = 190;
    int y2 = nav.top;
    canvas.Label(x2, y2, "Item caption; cut off when long");
    y2 += 16;
    pm.PaintPageNavigatorItemCaption(dc, CRect(x2, y2, x2 + w2, y2 + 30), "Calendar");
    canvas.Expect(CRect(x2 + w2 - 3, y2 + 2, x2 + w2 - 2, y2 + 3), pm.GetColor(COLOR_BTNSHADOW),
                  name + " item caption");
    y2 += 34;
    pm.PaintPageNavigatorItemCaption(dc, CRect(x2, y2, x2 + w2, y2 + 30), "Calendar of every meeting");
    y2 += 36;
    canvas.Label(x2, y2, "Pane caption, ellipsis when long");
    y2 += 16;
    pm.PaintPageNavigatorItemPaneCaption(dc, CRect(x2, y2, x2 + w2, y2 + 22), "Inbox");
    canvas.Expect(CRect(x2 + w2 - 3, y2 + 2, x2 + w2 - 2, y2 + 3), pm.GetColor(COLOR_BTNFACE),
                  name + " pane caption");
    y2 += 26;
    pm.PaintPageNavigatorItemPaneCaption(dc, CRect(x2, y2, x2 + w2, y2 + 22),
                                         "Inbox of the shared mailbox of the network team");
    y2 += 28;
    canvas.Label(x2, y2, "Splitter plain; dots moved down 2");
    y2 += 16;
    pm.PaintPageNavigatorSplitter(dc, CRect(x2, y2, x2 + w2, y2 + 8), false);
    pm.PaintPageNavigatorSplitter(dc, CRect(x2, y2 + 12, x2 + w2, y2 + 24), false);
    pm.PaintPageNavigatorSplitterDots(dc, CRect(x2, y2 + 12, x2 + w2, y2 + 24), 2);
    y2 += 30;
    canvas.Label(x2, y2, "Captions alone: plain, hover, pushed");
    y2 += 16;
    static const struct {
        bool selected, hover;
    } states[] = {{false, false}, {false, true}, {true, false}};
    for (const auto& state : states) {
        pm.PaintPageNavigatorCaption(dc, CRect(x2, y2, x2 + 120, y2 + 26), "Notes", &CardIcon(), true,
                                     state.selected, state.hover, false);
        pm.PaintPageNavigatorCaption(dc, CRect(x2 + 130, y2, x2 + 160, y2 + 26), "Notes", &CardIcon(), false,
                                     state.selected, state.hover, false);
        y2 += 28;
    }
    canvas.Label(x2, y2, "Configuration button (any state)");
    y2 += 16;
    for (int i = 0; i < 4; ++i)
        pm.PaintPageNavigatorConfigButton(dc, CRect(x2 + i * 26, y2, x2 + i * 26 + 20, y2 + 20), (i & 1) != 0,
                                          (i & 2) != 0);

    // A task pane: toolbar strip, client area, border, group captions
    // (plain, hover, special, special under the mouse; expanded and
    // collapsed), one without a button and one too narrow for it.
    y = nav.bottom + 12;
    canvas.Label(x, y, "Task pane");
    y += 16;
    const CRect taskPane(x, y, x + 200, y + 280);
    pm.TaskPanePaintClientAreaToolbar(dc, CRect(taskPane.left, taskPane.top, taskPane.right, taskPane.top + 20),
                                      nullptr);
    const CRect body(taskPane.left, taskPane.top + 20, taskPane.right, taskPane.bottom);
    pm.TaskPanePaintClientArea(dc, body, nullptr);
    pm.TaskPanePaintBorder(dc, taskPane, nullptr);
    canvas.Expect(CRect(body.left + 3, body.bottom - 4, body.left + 4, body.bottom - 3), pm.GetColor(1012),
                  name + " task pane");
    const CRect margins = pm.TaskPaneQueryMarginsPage(nullptr, 0);
    const int height = pm.TaskPaneQueryGroupCaptionMinHeight(nullptr, 0);
    const int spacing = pm.TaskPaneQueryGroupSpacing(nullptr, 0);
    static const struct {
        const char* text;
        bool hover, special, button, expanded;
    } groups[] = {{"System Tasks", false, false, true, true},
                  {"File and Folder Tasks", true, false, true, false},
                  {"Other Places", false, true, true, true},
                  {"Details of the selected device", true, true, true, false},
                  {"No button", false, false, false, false}};
    int gy = body.top + margins.top;
    for (const auto& group : groups) {
        const CRect r(body.left + margins.left, gy, body.right - margins.right, gy + height);
        pm.TaskPanePaintGroupCaption(dc, r, group.text, group.hover, false, group.special, group.button,
                                     group.expanded, nullptr);
        gy += height + spacing;
    }
    // Too narrow for the button (23) and just wide enough (24).
    pm.TaskPanePaintGroupCaption(dc, CRect(body.left + margins.left, gy, body.left + margins.left + 23, gy + height),
                                 "Narrow", false, false, false, true, false, nullptr);
    pm.TaskPanePaintGroupCaption(dc,
                                 CRect(body.left + margins.left + 40, gy, body.left + margins.left + 64, gy + height),
                                 "Narrow", false, false, false, true, false, nullptr);
    const bool xp = pm.IsKindOf(RUNTIME_CLASS(VEzaPaintManagerXP));
    const CRect first(body.left + margins.left, body.top + margins.top, body.right - margins.right,
                      body.top + margins.top + height);
    canvas.Expect(CRect(first.left + 2, first.top + 2, first.left + 3, first.top + 3),
                  xp ? pm.GetColor(1012) : pm.GetColor(1018), name + " group caption");

    // Caption backgrounds: round corners and the two-step shading.
    const int x3 = x2;
    int y3 = y2 + 30;
    canvas.Label(x3, y3, "Backgrounds");
    y3 += 16;
    static const struct {
        bool special, left, right, twoStep;
    } backs[] = {{false, true, true, false}, {false, false, true, true}, {true, true, false, false}};
    for (const auto& back : backs) {
        const CRect r(x3, y3, x3 + 130, y3 + 20);
        const int saved = dc.SaveDC();
        pm.TaskPanePaintGroupCaptionBackground(dc, r, false, false, back.special, back.left, back.right,
                                               back.twoStep, nullptr);
        dc.RestoreDC(saved);
        y3 += 26;
    }
    canvas.Expect(CRect(x3 + 60, y3 - 26 * 3 + 5, x3 + 61, y3 - 26 * 3 + 6), pm.GetColor(1018),
                  name + " caption background");
}

}  // namespace

GALLERY_PAGE("navigator", &PaintNavigator, nullptr);
