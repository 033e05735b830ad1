// The entries of the thumbnail strip: the base entry with its cell drawing, and the frame entry
// that shows one frame of the animation: a reference to the frame's picture and its thumbnail.
#pragma once

#include "document/animation_frame.h"

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
    // The entry of a frame of the animation; its path is the frame's source.
    explicit wxImageThumbnailItem(const AnimationFrame& frame);
    // The entry of a picture just decoded: takes ownership of `image`; `frameIndex` is the
    // frame's number inside its source GIF file (0 for any other file). The strip refuses it
    // when the source file is gone by the time it arrives.
    wxImageThumbnailItem(wxImage* image, int frameIndex, const wxString& path);
    ~wxImageThumbnailItem() override;

    bool PaintThumbnail(wxDC& dc, const wxThumbnailCtrl& ctrl, const wxRect& imageRect,
                        int state) override;
    // Makes the thumbnail once (and for a decoded picture the frame, releasing the picture); a
    // frame of a GIF file gets its frame reference as path. False when the source file is gone.
    bool PrepareThumbnail(wxThumbnailCtrl& ctrl, bool force) override;

    // The frame's picture, shared with the animation; null before preparation.
    const SharedPixels& GetPixels() const { return m_frame.pixels; }
    // The frame as the entry made it (its delay is the one it came with).
    const AnimationFrame& GetFrame() const { return m_frame; }
    const wxBitmap& GetThumbnail() const { return m_thumbnail; }
    // The frame's picture is now found at `source`, a path or frame reference.
    void SetSource(const wxString& source);
    int GetFrameIndex() const { return m_frameIndex; }
    // The decoded picture while the entry still holds it (before preparation, or when no
    // thumbnail could be made); null otherwise.
    const wxImage* GetImage() const { return m_image; }

private:
    wxBitmap m_thumbnail;
    wxImage* m_image = nullptr;
    int m_frameIndex = 0;
    AnimationFrame m_frame;

    wxDECLARE_CLASS(wxImageThumbnailItem);
    wxDECLARE_NO_COPY_CLASS(wxImageThumbnailItem);
};

// The picture shrunk to fit a box of boxWidth x boxHeight, keeping its proportions; pictures
// that fit already keep their size.
wxBitmap ScaleToThumbnail(const wxImage& image, int boxWidth, int boxHeight);
