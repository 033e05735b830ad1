// The entries of the thumbnail strip: the base entry with its cell drawing, and the frame entry
// that holds one animation frame as a full-size bitmap and a thumbnail.
#pragma once

#include "app/memory_budget.h"

#include <wx/bitmap.h>
#include <wx/dc.h>
#include <wx/dynarray.h>
#include <wx/gdicmn.h>
#include <wx/image.h>
#include <wx/object.h>
#include <wx/string.h>

class wxThumbnailCtrl;

// Paint state bits the strip passes to an entry.
enum {
    THUMBSTRIP_STATE_SELECTED = 1,
    THUMBSTRIP_STATE_CTRL_FOCUSED = 4,
    THUMBSTRIP_STATE_FOCUS_ITEM = 8,
};

class wxThumbnailItem : public wxObject {
public:
    explicit wxThumbnailItem(const wxString& path = wxEmptyString) : m_path(path) {}

    // Draws the picture into the thumbnail box; the base entry has no picture.
    virtual bool PaintThumbnail(wxDC& dc, const wxThumbnailCtrl& ctrl, const wxRect& imageRect,
                                int state);
    // Draws the cell around the picture: fill, raised or sunken border, name line, frame label
    // and focus box. `index` is the entry's position in the strip.
    virtual bool PaintCell(wxDC& dc, const wxThumbnailCtrl& ctrl, const wxRect& rect,
                           const wxRect& imageRect, int state, int index);
    // Builds what the entry needs to be shown, when it enters the strip.
    virtual bool PrepareThumbnail(wxThumbnailCtrl& ctrl, bool force);

    const wxString& GetPath() const { return m_path; }

protected:
    wxString m_path;

private:
    wxDECLARE_CLASS(wxThumbnailItem);
};

// Owning array: removing an entry deletes it.
WX_DECLARE_OBJARRAY(wxThumbnailItem, wxThumbnailItemArray);

class wxImageThumbnailItem : public wxThumbnailItem {
public:
    // Takes ownership of `image`; `frameIndex` is the frame's number inside its source GIF file
    // (0 for any other file).
    wxImageThumbnailItem(wxImage* image, int frameIndex, const wxString& path);
    ~wxImageThumbnailItem() override;

    bool PaintThumbnail(wxDC& dc, const wxThumbnailCtrl& ctrl, const wxRect& imageRect,
                        int state) override;
    // Makes the full-size bitmap and the thumbnail once and releases the decoded picture; a frame
    // of a GIF file gets its frame reference as path. False when the source file is gone.
    bool PrepareThumbnail(wxThumbnailCtrl& ctrl, bool force) override;

    // The full-size frame, for preview and export.
    const wxBitmap& GetBitmap() const { return m_bitmap; }
    const wxBitmap& GetThumbnail() const { return m_thumbnail; }
    int GetFrameIndex() const { return m_frameIndex; }
    // The decoded picture while the entry still holds it (before preparation, or when no
    // thumbnail could be made); null otherwise.
    const wxImage* GetImage() const { return m_image; }
    // Keeps the memory charged for this frame until the entry goes.
    void HoldCharge(MemoryCharge charge) { m_charge = std::move(charge); }

private:
    MemoryCharge m_charge;
    wxBitmap m_thumbnail;
    wxImage* m_image;
    int m_frameIndex;
    wxBitmap m_bitmap;

    wxDECLARE_CLASS(wxImageThumbnailItem);
    wxDECLARE_NO_COPY_CLASS(wxImageThumbnailItem);
};

// The picture shrunk to fit a box of boxWidth x boxHeight, keeping its proportions; pictures
// that fit already keep their size.
wxBitmap ScaleToThumbnail(const wxImage& image, int boxWidth, int boxHeight);
