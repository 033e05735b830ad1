// The Edit menu and the undo history: every change of the animation goes through the command
// processor, which holds what a change needs to be undone.
#include "window/gif_frame.h"

#include "app/export_setting.h"
#include "edit/frame_edits.h"
#include "window/menu_labels.h"
#include "window/thumbnailctrl.h"

#include <wx/accel.h>
#include <wx/intl.h>
#include <wx/menu.h>
#include <wx/numdlg.h>
#include <wx/spinctrl.h>
#include <wx/statusbr.h>

#include <algorithm>

namespace {
// The main window's frames and settings as the edit commands see them.
class WindowEditTarget : public EditTarget {
public:
    explicit WindowEditTarget(GifFrame& frame) : m_frame(frame) {}

    int FrameCount() const override { return m_frame.GetAnimation().FrameCount(); }
    AnimationFrame TakeFrame(int n) override { return m_frame.TakeFrame(n); }
    void PutFrame(AnimationFrame frame, int n) override { m_frame.PutFrame(std::move(frame), n); }
    int FrameDelay(int n) const override { return m_frame.GetAnimation().Frame(n).delay; }
    void SetFrameDelay(int n, int delay) override { m_frame.SetFrameDelay(n, delay); }
    void Reorder(const std::vector<int>& order) override { m_frame.ReorderFrames(order); }
    void SetSelection(const std::vector<int>& indices) override { Strip().SetSelection(indices); }
    AnimationSettings Settings() const override { return m_frame.CurrentSettings(); }
    void ApplySettings(const AnimationSettings& settings) override {
        m_frame.ApplySettings(settings);
    }
    void FramesChanged() override { m_frame.AfterFramesEdit(); }
    ExportChoices Choices() const override { return m_frame.CurrentChoices(); }
    // The choices made last, undone or redone too, are those of the next new animation.
    void ApplyChoices(const ExportChoices& choices) override {
        m_frame.ApplyChoices(choices);
        WriteExportSetting(choices);
    }

private:
    wxThumbnailCtrl& Strip() const { return *m_frame.m_thumbnailCtrl; }
    GifFrame& m_frame;
};

wxString EditName(EditKind kind) {
    switch (kind) {
    case EditKind::AddImage:
        return _("Add Image");
    case EditKind::InsertImage:
        return _("Insert Image");
    case EditKind::Drop:
        return _("Drop");
    case EditKind::Delete:
        return _("Delete");
    case EditKind::ClearAll:
        return _("Clear All");
    case EditKind::Move:
        return _("Move");
    case EditKind::MoveLeft:
        return _("Move Left");
    case EditKind::MoveRight:
        return _("Move Right");
    case EditKind::Reverse:
        return _("Reverse Order");
    case EditKind::Delay:
        return _("Delay");
    case EditKind::FrameDelay:
        return _("Frame Delay");
    case EditKind::Width:
        return _("Width");
    case EditKind::Height:
        return _("Height");
    case EditKind::Crop:
        return _("Crop");
    case EditKind::RotateRight:
        return _("Rotate 90° Right");
    case EditKind::RotateLeft:
        return _("Rotate 90° Left");
    case EditKind::Rotate180:
        return _("Rotate 180°");
    case EditKind::FlipHorizontal:
        return _("Flip Horizontally");
    case EditKind::FlipVertical:
        return _("Flip Vertically");
    case EditKind::Duplicate:
        return _("Duplicate");
    case EditKind::PingPong:
        return _("Ping-Pong");
    case EditKind::Speed:
        return _("Change Speed");
    case EditKind::RemoveDuplicates:
        return _("Remove Duplicate Frames");
    case EditKind::ExportOptions:
        return _("Export Options");
    case EditKind::BestColours:
        return _("Best colours");
    case EditKind::OptimiseFileSize:
        return _("Optimise file size");
    case EditKind::LoopCount:
        return _("Loop Count");
    }
    return wxEmptyString;
}

// The text of Undo or Redo: the plain word, or the format naming the edit it acts on.
wxString HistoryText(const wxCommand* command, const wxString& plain, const wxString& format) {
    const auto* edit = dynamic_cast<const AnimationEdit*>(command);
    return edit == nullptr ? plain : wxString::Format(format, EditName(edit->Kind()));
}

void ShowItem(wxMenuItem* item, bool enable) {
    if (item->IsEnabled() != enable) {
        item->Enable(enable);
    }
}
} // namespace

bool GifFrame::AddEntry(wxImageThumbnailItem* item, int n, int delay) {
    const int at = n < 0 ? m_thumbnailCtrl->GetCount() : n;
    if (!item->PrepareThumbnail(*m_thumbnailCtrl, false) || !item->GetFrame().IsOk()) {
        return false;
    }
    if (n < 0) {
        m_thumbnailCtrl->Append(item, m_spinctrl_delay->GetValue());
    } else {
        m_thumbnailCtrl->Insert(item, at);
    }
    AnimationFrame frame = item->GetFrame();
    frame.delay = delay;
    m_animation.Insert(at, std::move(frame));
    return true;
}

void GifFrame::PutFrame(AnimationFrame frame, int n) {
    m_thumbnailCtrl->Insert(new wxImageThumbnailItem(frame), n);
    m_animation.Insert(n, std::move(frame));
}

AnimationFrame GifFrame::TakeFrame(int n) {
    delete m_thumbnailCtrl->Detach(n);
    return m_animation.Take(n);
}

void GifFrame::ReorderFrames(const std::vector<int>& order) {
    m_thumbnailCtrl->Reorder(order);
    m_animation.Reorder(order);
}

void GifFrame::SetFrameDelay(int n, int delay) {
    m_animation.SetDelay(n, delay);
    m_thumbnailCtrl->Refresh();
}

Animation GifFrame::ExportedAnimation() const {
    Animation exported = m_animation;
    exported.output = {m_outputWidth, m_outputHeight};
    exported.loopCount = m_loopCount;
    exported.options = CurrentExportOptions();
    exported.view = m_view;
    return exported;
}

void GifFrame::InitEditHistory() {
    m_editTarget = std::make_unique<WindowEditTarget>(*this);
    Bind(wxEVT_IDLE, [this](wxIdleEvent& event) {
        UpdateEditMenu();
        event.Skip();
    });
    Bind(wxEVT_THUMBSTRIP_MOVE_SELECTION, &GifFrame::OnStripMove, this, ID_THUMBNAIL_CTRL);
    Bind(wxEVT_THUMBSTRIP_FOCUS_MOVED, &GifFrame::OnThumbnailFocusMoved, this, ID_THUMBNAIL_CTRL);
    Bind(wxEVT_THUMBSTRIP_CONTEXT_MENU, &GifFrame::OnThumbnailContextKey, this, ID_THUMBNAIL_CTRL);
    Bind(
        wxEVT_THUMBSTRIP_DELETE,
        [this](wxThumbnailEvent&) {
            wxCommandEvent asked(wxEVT_MENU, m_menuItem_delete->GetId());
            OnDelete(asked);
        },
        ID_THUMBNAIL_CTRL);
}

void GifFrame::BuildEditMenu() {
    m_menu_edit = new wxMenu(0);
    const auto bind = [this](wxMenuItem* item, void (GifFrame::*handler)(wxCommandEvent&)) {
        Bind(wxEVT_MENU, handler, this, item->GetId());
        return item;
    };
    m_menuItem_undo = bind(AddItem(m_menu_edit, "Undo", "Ctrl+Z"), &GifFrame::OnUndo);
    m_menuItem_redo = bind(AddItem(m_menu_edit, "Redo", "Ctrl+Shift+Z"), &GifFrame::OnRedo);
    m_menuItem_selectall =
        bind(AddItem(m_menu_edit, "Select All", "Ctrl+A"), &GifFrame::OnSelectAll);
    m_menuItem_moveleft =
        bind(AddItem(m_menu_edit, "Move Left", "Alt+Left"), &GifFrame::OnMoveLeft);
    m_menuItem_moveright =
        bind(AddItem(m_menu_edit, "Move Right", "Alt+Right"), &GifFrame::OnMoveRight);
    m_menuItem_reverse = bind(AddItem(m_menu_edit, "Reverse Order"), &GifFrame::OnReverse);
    // Redo's second key belongs to the menu, so that it works wherever the focus is (also
    // nowhere). The window's table is looked at before the focused strip reads arrows, so Alt
    // with an arrow moves frames there too.
    m_menuItem_redo->AddExtraAccel(wxAcceleratorEntry(wxACCEL_CTRL, 'Y'));
    wxAcceleratorEntry keys[] = {
        {wxACCEL_ALT, WXK_LEFT, m_menuItem_moveleft->GetId()},
        {wxACCEL_ALT, WXK_RIGHT, m_menuItem_moveright->GetId()},
    };
    SetAcceleratorTable(wxAcceleratorTable(2, keys));
}

void GifFrame::UpdateEditMenu() {
    if (m_menuItem_undo == nullptr || m_thumbnailCtrl == nullptr) {
        return;
    }
    wxCommand* redoCommand = nullptr;
    if (m_edits.CanRedo()) {
        wxList::compatibility_iterator node =
            m_edits.GetCurrentCommand() == nullptr
                ? m_edits.GetCommands().GetFirst()
                : m_edits.GetCommands().Find(m_edits.GetCurrentCommand())->GetNext();
        redoCommand = static_cast<wxCommand*>(node->GetData());
    }
    ShowItem(m_menuItem_undo, m_edits.CanUndo());
    SetItemText(m_menuItem_undo,
                HistoryText(m_edits.CanUndo() ? m_edits.GetCurrentCommand() : nullptr, _("Undo"),
                            _("Undo %s")),
                "Undo", "Ctrl+Z");
    ShowItem(m_menuItem_redo, redoCommand != nullptr);
    SetItemText(m_menuItem_redo, HistoryText(redoCommand, _("Redo"), _("Redo %s")), "Redo",
                "Ctrl+Shift+Z");

    const int count = m_thumbnailCtrl->GetCount();
    const wxArrayInt& selected = m_thumbnailCtrl->GetSelectedIndices();
    const std::vector<int> selection(selected.begin(), selected.end());
    ShowItem(m_menuItem_selectall, count > 0);
    ShowItem(m_menuItem_moveleft, !MoveByOne(count, selection, -1).empty());
    ShowItem(m_menuItem_moveright, !MoveByOne(count, selection, 1).empty());
    ShowItem(m_menuItem_reverse, count > 1);
    ShowItem(m_menuItem_duplicate, !selection.empty());
    ShowItem(m_menuItem_pingpong, count > 2);
    ShowItem(m_menuItem_duplicates, count > 1);
}

AnimationSettings GifFrame::CurrentSettings() const {
    return {m_spinctrl_delay->GetValue(), m_outputWidth, m_outputHeight, m_view};
}

void GifFrame::ApplySettings(const AnimationSettings& settings) {
    if (m_view != settings.view) {
        // The proportions the size fields keep are those of the frames as now shown.
        m_view = settings.view;
        const FrameSize canvas = ViewedCanvas(m_view);
        m_imageWidth = canvas.width;
        m_imageHeight = canvas.height;
        if (m_thumbnailCtrl->GetCount() > 0) {
            PreviewFrame(FocusFrame());
        }
    }
    if (m_spinctrl_delay->GetValue() != settings.delay ||
        m_thumbnailCtrl->GetDelay() != settings.delay) {
        m_spinctrl_delay->SetValue(settings.delay);
        m_thumbnailCtrl->SetDelay(settings.delay);
        m_thumbnailCtrl->Refresh();
    }
    const bool sizeShown = m_spinctrl_width->GetValue() == settings.width &&
                           m_spinctrl_height->GetValue() == settings.height;
    if (m_thumbnailCtrl->GetCount() > 0 &&
        (!sizeShown || m_outputWidth != settings.width || m_outputHeight != settings.height)) {
        ShowTypedSize({settings.width, settings.height});
    }
}

void GifFrame::AfterFramesEdit() {
    RefreshCanvasSize();
    if (m_thumbnailCtrl->GetCount() > 0) {
        EnableEditControls();
    } else {
        DisableEditControls();
    }
    // The frames an edit moved or brought back are selected: the first of them is shown.
    const std::vector<int> selected = SelectedFrames();
    if (selected.empty()) {
        m_statusBar1->SetStatusText(wxEmptyString, 1);
        ClearPreviewPanel();
    } else {
        PreviewFrame(*std::min_element(selected.begin(), selected.end()));
    }
}

void GifFrame::SubmitEdit(wxCommand* edit) {
    StopPreview();
    m_edits.Submit(edit);
    UpdateEditMenu();
}

void GifFrame::StoreEdit(wxCommand* edit) {
    m_edits.Store(edit);
    UpdateEditMenu();
}

void GifFrame::RecordSettingsEdit(EditKind kind, const AnimationSettings& before,
                                  std::vector<int> frameDelays) {
    const AnimationSettings after = CurrentSettings();
    const bool framesKept = std::all_of(frameDelays.begin(), frameDelays.end(),
                                        [&after](int delay) { return delay == after.delay; });
    if (before == after && framesKept) {
        return;
    }
    auto* last = dynamic_cast<SettingsEdit*>(m_edits.GetCurrentCommand());
    if (last != nullptr && last->Kind() == kind && !m_edits.CanRedo()) {
        last->Extend(after);
        UpdateEditMenu();
        return;
    }
    StoreEdit(new SettingsEdit(*m_editTarget, kind, before, after, std::move(frameDelays)));
}

void GifFrame::ForgetEdits() {
    m_edits.ClearCommands();
    UpdateEditMenu();
}

void GifFrame::Reorder(EditKind kind, const std::vector<int>& order) {
    StopPreview();
    if (order.empty() || KeepsEveryFrame(order)) {
        return;
    }
    SubmitEdit(new ReorderedFrames(*m_editTarget, kind, order));
}

std::vector<int> GifFrame::SelectedFrames() const {
    const wxArrayInt& selected = m_thumbnailCtrl->GetSelectedIndices();
    return std::vector<int>(selected.begin(), selected.end());
}

void GifFrame::OnUndo(wxCommandEvent&) {
    StopPreview();
    m_edits.Undo();
    UpdateEditMenu();
}

void GifFrame::OnRedo(wxCommandEvent&) {
    StopPreview();
    m_edits.Redo();
    UpdateEditMenu();
}

void GifFrame::OnSelectAll(wxCommandEvent&) {
    m_thumbnailCtrl->SelectAll();
    UpdateEditMenu();
}

void GifFrame::OnMoveLeft(wxCommandEvent&) {
    Reorder(EditKind::MoveLeft, MoveByOne(m_thumbnailCtrl->GetCount(), SelectedFrames(), -1));
}

void GifFrame::OnMoveRight(wxCommandEvent&) {
    Reorder(EditKind::MoveRight, MoveByOne(m_thumbnailCtrl->GetCount(), SelectedFrames(), 1));
}

void GifFrame::OnReverse(wxCommandEvent&) {
    Reorder(EditKind::Reverse, Reversed(m_thumbnailCtrl->GetCount(), SelectedFrames()));
}

void GifFrame::OnFrameDelay(wxCommandEvent&) {
    StopPreview();
    const std::vector<int> selected = SelectedFrames();
    if (selected.empty() || selected[0] < 0) {
        return;
    }
    wxNumberEntryDialog ask(
        this,
        _("The delay of the selected frames, in hundredths of a second.\n"
          "Browsers show frames of delay 0 or 1 for as long as their own "
          "shortest delay."),
        _("Delay:"), _("Frame Delay"),
        m_animation.Frame(*std::min_element(selected.begin(), selected.end())).delay, 0, 65535);
    if (ask.ShowModal() != wxID_OK) {
        return;
    }
    const int delay = static_cast<int>(ask.GetValue());
    const bool changes = std::any_of(selected.begin(), selected.end(),
                                     [&](int n) { return m_animation.Frame(n).delay != delay; });
    if (changes) {
        SubmitEdit(new FrameDelaysEdit(*m_editTarget, selected, delay));
    }
}

void GifFrame::OnStripMove(wxThumbnailEvent& event) {
    Reorder(EditKind::Move,
            MoveToGap(m_thumbnailCtrl->GetCount(), SelectedFrames(), event.GetItemIndex()));
}
