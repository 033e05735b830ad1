// The frame tools: crop, turn and flip the view of every frame (the sources stay as they are);
// frames repeated (duplicates of the selection, the animation played forward and back) or
// merged where they repeat; the speed of every or the selected frames.
#include "window/gif_frame.h"

#include "app/product.h"
#include "edit/delay_pacing.h"
#include "edit/frame_edits.h"
#include "image/picture_likeness.h"
#include "window/crop_dialog.h"
#include "window/number_dialog.h"
#include "window/thumbnailctrl.h"

#include <wx/intl.h>
#include <wx/msgdlg.h>
#include <wx/spinctrl.h>
#include <wx/utils.h>

#include <algorithm>

int GifFrame::FocusFrame() const {
    const std::vector<int> selected = SelectedFrames();
    return selected.empty() ? 0 : *std::min_element(selected.begin(), selected.end());
}

void GifFrame::ChangeView(EditKind kind, const ViewTransform& view) {
    StopPreview();
    if (m_thumbnailCtrl->GetCount() == 0 || view == m_view) {
        return;
    }
    AnimationSettings after = CurrentSettings();
    after.view = view;
    // The output size follows the new view, as it follows new frames.
    const FrameSize canvas = ViewedCanvas(view);
    after.width = canvas.width;
    after.height = canvas.height;
    SubmitEdit(new SettingsEdit(*m_editTarget, kind, CurrentSettings(), after));
}

void GifFrame::OnCrop(wxCommandEvent&) {
    StopPreview();
    if (m_animation.FrameCount() == 0) {
        return;
    }
    // The rectangle is drawn on the frame as shown, turned and flipped but whole.
    const wxImage source = m_decodedFrames.Get(m_animation.Frame(FocusFrame()).pixels);
    if (!source.IsOk()) {
        return;
    }
    const Orientation orientation = m_view.orientation;
    const wxSize size = source.GetSize();
    CropDialog dialog(this, ApplyTransform(source, {wxRect(), orientation}),
                      OrientedRect(CropWithin(m_view.crop, size), size, orientation));
    if (dialog.ShowModal() != wxID_OK) {
        return;
    }
    wxRect crop = CropFromShown(dialog.GetCrop(), size, orientation);
    if (crop == wxRect(size)) {
        crop = wxRect(); // the whole picture, whatever size later frames have
    }
    ChangeView(EditKind::Crop, {crop, orientation});
}

void GifFrame::OnRotateRight(wxCommandEvent&) {
    ChangeView(EditKind::RotateRight, {m_view.crop, Turned(m_view.orientation, 1)});
}

void GifFrame::OnRotateLeft(wxCommandEvent&) {
    ChangeView(EditKind::RotateLeft, {m_view.crop, Turned(m_view.orientation, -1)});
}

void GifFrame::OnRotate180(wxCommandEvent&) {
    ChangeView(EditKind::Rotate180, {m_view.crop, Turned(m_view.orientation, 2)});
}

void GifFrame::OnFlipHorizontal(wxCommandEvent&) {
    ChangeView(EditKind::FlipHorizontal, {m_view.crop, Flipped(m_view.orientation, false)});
}

void GifFrame::OnFlipVertical(wxCommandEvent&) {
    ChangeView(EditKind::FlipVertical, {m_view.crop, Flipped(m_view.orientation, true)});
}

void GifFrame::InsertCopies(EditKind kind, const std::vector<int>& sources, int first) {
    const AnimationSettings before = CurrentSettings();
    m_thumbnailCtrl->BeginUpdate();
    int inserted = 0;
    // A copy is the same frame again: its picture is shared, not copied. The copies go after
    // every frame they repeat.
    for (int source : sources) {
        const AnimationFrame copy = m_animation.Frame(source);
        PutFrame(copy, first + inserted);
        ++inserted;
    }
    m_thumbnailCtrl->EndUpdate();
    if (inserted == 0) {
        return;
    }
    std::vector<int> copies(inserted);
    for (int k = 0; k < inserted; ++k) {
        copies[k] = first + k;
    }
    m_thumbnailCtrl->SetSelection(copies);
    AfterFramesEdit();
    ApplySettings(before);
    StoreEdit(new InsertedFrames(*m_editTarget, kind, first, inserted, before, before));
}

// The copies an order of repeated frames adds: those from the first place where it differs
// from the frames as they are, as many as it is longer.
void GifFrame::InsertRepeats(EditKind kind, const FrameOrder& order) {
    StopPreview();
    const int count = m_thumbnailCtrl->GetCount();
    int first = 0;
    while (first < count && order[first] == first) {
        ++first;
    }
    const int added = int(order.size()) - count;
    if (added > 0) {
        InsertCopies(kind, FrameOrder(order.begin() + first, order.begin() + first + added), first);
    }
}

void GifFrame::OnDuplicate(wxCommandEvent&) {
    InsertRepeats(EditKind::Duplicate, Duplicated(m_thumbnailCtrl->GetCount(), SelectedFrames()));
}

void GifFrame::OnPingPong(wxCommandEvent&) {
    InsertRepeats(EditKind::PingPong, PingPong(m_thumbnailCtrl->GetCount()));
}

void GifFrame::OnChangeSpeed(wxCommandEvent&) {
    StopPreview();
    const int count = m_thumbnailCtrl->GetCount();
    if (count == 0) {
        return;
    }
    const std::vector<int> selected = SelectedFrames();
    NumberDialog dialog(
        this, _("Change Speed"),
        _("Play the animation faster or slower: at 200 percent every delay is halved, at 50 "
          "percent doubled."),
        _("Percent of the speed:"), 25, 400, 100,
        selected.empty() ? wxString() : _("Only the selected frames"));
    if (dialog.ShowModal() != wxID_OK || dialog.GetNumber() == 100) {
        return;
    }
    std::vector<int> positions;
    if (dialog.OnlySelected()) {
        positions = selected;
        std::sort(positions.begin(), positions.end());
    } else {
        for (int n = 0; n < count; ++n) {
            positions.push_back(n);
        }
    }
    // The frames' time is scaled as a whole, so that the delays add up without drift.
    std::vector<int> delays;
    for (int n : positions) {
        delays.push_back(m_animation.Frame(n).delay);
    }
    SubmitEdit(new FrameDelaysEdit(*m_editTarget, EditKind::Speed, positions,
                                   ScaleDelays(delays, dialog.GetNumber())));
}

void GifFrame::OnRemoveDuplicates(wxCommandEvent&) {
    StopPreview();
    if (m_thumbnailCtrl->GetCount() < 2) {
        return;
    }
    NumberDialog dialog(this, _("Remove Duplicate Frames"),
                        _("Frames that repeat the frame before them become one frame, shown as "
                          "long as all of them. A tolerance above 0 also takes frames whose "
                          "colours differ by at most that percentage."),
                        _("Tolerance in percent:"), 0, 100, 0);
    if (dialog.ShowModal() != wxID_OK) {
        return;
    }
    std::vector<FrameRun> runs;
    {
        wxBusyCursor busy;
        // Compared as shown: what lies outside the crop does not count.
        const ViewTransform cropOnly{m_view.crop, Orientation()};
        int heldFirst = -1;
        wxImage held;
        runs = RepeatedFrameRuns(m_animation.Delays(), [&](int first, int frame) {
            if (first != heldFirst) {
                held = ApplyTransform(m_animation.Frame(first).pixels->Decode(), cropOnly);
                heldFirst = first;
            }
            return PicturesAlike(
                held, ApplyTransform(m_animation.Frame(frame).pixels->Decode(), cropOnly),
                dialog.GetNumber());
        });
    }
    auto* merged = new MergedFrames(*m_editTarget, runs);
    const int removed = merged->Removed();
    if (removed == 0) {
        delete merged;
    } else {
        SubmitEdit(merged);
    }
    wxMessageBox(removed == 0 ? _("No frame repeats the frame before it.")
                              : wxString::Format(_("%d repeated frames were removed; the frames "
                                                   "they repeat are shown as long as all of them."),
                                                 removed),
                 GetProductName(), wxOK | wxICON_INFORMATION, this);
}
