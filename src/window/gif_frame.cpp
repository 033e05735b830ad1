#include "window/gif_frame.h"

#include "app/export_setting.h"
#include "app/language_setting.h"
#include "app/paths.h"
#include "app/platform.h"
#include "app/product.h"
#include "app/recovery_store.h"
#include "app/update_check.h"
#include "app/update_event.h"
#include "app/worker_event.h"
#include "import/background_project_writer.h"
#include "import/import_memory.h"
#include "window/thumbnailctrl.h"

#include <wx/icon.h>
#include <wx/intl.h>
#include <wx/log.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/splitter.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/xrc/xmlres.h>

wxBEGIN_EVENT_TABLE(GifFrame, wxFrame)
    EVT_THUMBSTRIP_LEFT_CLICK(ID_THUMBNAIL_CTRL, GifFrame::OnThumbnailLeftClick)
    EVT_THUMBSTRIP_RIGHT_CLICK(ID_THUMBNAIL_CTRL, GifFrame::OnThumbnailRightClick)
    EVT_CUSTOM(wxEVT_CLOSE_WINDOW, wxID_ANY, GifFrame::OnClose)
    EVT_COMMAND(wxID_ANY, UPDATE_RESULT_EVENT, GifFrame::OnUpdateResult)
    EVT_COMMAND(ID_IMPORT_WORKER, wxEVT_WORKER_UPDATE, GifFrame::ThreadUpdate)
    EVT_COMMAND(ID_SAVE_WORKER, wxEVT_WORKER_UPDATE, GifFrame::WorkSaveAsGifThreadUpdate)
wxEND_EVENT_TABLE()

namespace {
template <typename Control> Control* FindControl(wxWindow* parent, const char* name) {
    return wxDynamicCast(parent->FindWindow(XRCID(name)), Control);
}
} // namespace

GifFrame::GifFrame() : m_timer() {}

GifFrame::~GifFrame() {
    EndUpdateCheck(this);
    delete m_thumbnailCtrl;
}

void GifFrame::Init() {
    const int language = ReadLanguageSetting();
    ApplyLanguage(language);
    m_language = language;
    m_exportChoices = ReadExportSetting();
    m_projectChoices = m_exportChoices;
    m_places = ReadPlacesSetting();
    m_placesRead = m_places;

    InitEditHistory();
    BuildMenuBar();

    Connect(XRCID("m_tool_play"), wxEVT_MENU, wxCommandEventHandler(GifFrame::OnRunAnimation));
    Connect(XRCID("m_tool_delete"), wxEVT_MENU, wxCommandEventHandler(GifFrame::OnDelete));
    Connect(XRCID("m_tool_insert"), wxEVT_MENU, wxCommandEventHandler(GifFrame::OnAddImage));
    Connect(ID_PLAY_TIMER, wxEVT_TIMER, wxTimerEventHandler(GifFrame::OnTimer));
    Connect(XRCID("m_spinctrl_delay"), wxEVT_TEXT, wxCommandEventHandler(GifFrame::OnSetDelay));
    Connect(XRCID("m_spinctrl_width"), wxEVT_TEXT, wxCommandEventHandler(GifFrame::OnSetWidth));
    Connect(XRCID("m_spinctrl_height"), wxEVT_TEXT, wxCommandEventHandler(GifFrame::OnSetHeight));
    Connect(XRCID("m_splitter3"), wxEVT_SPLITTER_SASH_POS_CHANGED,
            wxSplitterEventHandler(GifFrame::OnChangeSplitterWindow));

    m_splitter3 = FindControl<wxSplitterWindow>(this, "m_splitter3");
    Connect(XRCID("m_menuItem_loop_count"), wxEVT_MENU,
            wxCommandEventHandler(GifFrame::OnLoopCount));

    m_panel_top = FindControl<wxPanel>(this, "m_panel_top");
    auto* stripSizer = new wxBoxSizer(wxHORIZONTAL);
    m_panel_top->SetSizer(stripSizer);
    m_thumbnailCtrl = new wxThumbnailCtrl(m_panel_top, wxDefaultPosition, m_panel_top->GetSize());
    m_thumbnailCtrl->SetAnimation(&m_animation);
    stripSizer->Add(m_thumbnailCtrl, 1, wxEXPAND, 0);
    InitFileDrop();

    m_panel_down = FindControl<wxPanel>(this, "m_panel_down");
    // Painted in the theme's colours with the strip (PaintPreview).
    m_panel_down->SetBackgroundStyle(wxBG_STYLE_PAINT);
    m_panel_down->Bind(wxEVT_PAINT, &GifFrame::OnPaintPreview, this);
    // Projects deleted or moved since are dropped from Recent Projects before it is shown.
    Bind(wxEVT_MENU_OPEN, [this](wxMenuEvent& event) {
        if (event.GetMenu() == m_menu_file) {
            RefreshRecentMenu();
        }
        event.Skip();
    });
    // The preview is the last stop of Tab; its focus shows as a dotted frame.
    m_panel_down->SetCanFocus(true);
    m_panel_down->Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& event) {
        m_panel_down->Refresh();
        event.Skip();
    });
    m_panel_down->Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& event) {
        m_panel_down->Refresh();
        event.Skip();
    });

    m_timer.SetOwner(this, ID_PLAY_TIMER);

    m_spinctrl_delay = FindControl<wxSpinCtrl>(this, "m_spinctrl_delay");
    m_spinctrl_width = FindControl<wxSpinCtrl>(this, "m_spinctrl_width");
    m_spinctrl_height = FindControl<wxSpinCtrl>(this, "m_spinctrl_height");

    m_staticText_delay = FindControl<wxStaticText>(this, "m_staticText_delay");
    m_staticText_sec = FindControl<wxStaticText>(this, "m_staticText_sec");
    m_staticText_gif = FindControl<wxStaticText>(this, "m_staticText_gif");
    m_staticText_width = FindControl<wxStaticText>(this, "m_staticText_width");
    m_staticText_wpx = FindControl<wxStaticText>(this, "m_staticText_wpx");
    m_staticText_height = FindControl<wxStaticText>(this, "m_staticText_height");
    m_staticText_hpx = FindControl<wxStaticText>(this, "m_staticText_hpx");
    m_toolBar_button = FindControl<wxToolBar>(this, "m_toolBar_button");
    SetLabelTexts();

    m_statusBar1 = FindControl<wxStatusBar>(this, "m_statusBar1");
    const int widths[3] = {200, 400, -1};
    m_statusBar1->SetStatusWidths(3, widths);
    // Field 0 names the animation: menu and tool help would blank it (the items have none).
    SetStatusBarPane(-1);
    FitStatusBarHeight();

    DisableEditControls();

    m_imageWidth = m_imageHeight = 0;
    m_playIndex = m_loopCount = m_loopsPlayed = 0;
    m_projectDelay = m_projectWidth = m_projectHeight = m_projectFrameCount = 0;
    m_exportFrameCount = m_exportDelay = m_exportWidth = m_exportHeight = 0;

    const wxString iconPath = GetInstallDirectory() + "/Themes/application.ico";
    TraceLine(iconPath);
    {
        wxLogNull quiet;
        wxIcon icon;
        if (icon.LoadFile(iconPath, wxBITMAP_TYPE_ICO)) {
            SetIcon(icon);
        }
    }

    SetTitle(GetProductName());
    m_isPlaying = false;
    UpdateEditMenu();
    RestoreWindowPlace();
    KeepRecoveryIn(GetRecoveryFolder());
}

void GifFrame::SetLabelTexts() {
    m_staticText_delay->SetLabel(_("Delay ") + ":");
    m_staticText_sec->SetLabel("1/100" + _("sec "));
    m_staticText_gif->SetLabel(_("GIF") + ":");
    m_staticText_width->SetLabel(_("Width") + ":");
    m_staticText_wpx->SetLabel(_("px"));
    m_staticText_height->SetLabel(_("Height") + ":");
    m_staticText_hpx->SetLabel(_("px"));
    // Translated labels differ in width from the layout's.
    m_staticText_delay->GetParent()->Layout();
    // The layout is loaded before the language is known: the tool tips are set here instead.
    m_toolBar_button->SetToolShortHelp(XRCID("m_tool_insert"), _("Add images at the end"));
    m_toolBar_button->SetToolShortHelp(XRCID("m_tool_delete"), _("Delete the selected frames"));
    m_toolBar_button->SetToolShortHelp(XRCID("m_tool_play"), _("Play or stop the preview"));
    m_toolBar_button->SetToolShortHelp(XRCID("m_menuItem_loop_count"),
                                       _("How many passes the preview plays"));
}

void GifFrame::FitStatusBarHeight() {
    // Chinese and Japanese texts are drawn with a taller font than the bar's own Latin one.
    const int textHeight = m_statusBar1->GetTextExtent(_("Height")).GetHeight();
    m_statusBar1->SetMinHeight(textHeight + 2 * m_statusBar1->GetBorderY() + 4);
    SendSizeEvent();
}

void GifFrame::EnableEditControls() {
    SetEditControlsEnabled(true);
}

void GifFrame::DisableEditControls() {
    SetEditControlsEnabled(false);
}

void GifFrame::SetEditControlsEnabled(bool enable) {
    for (wxMenuItem* item :
         {m_menuItem_save, m_menuItem_saveas, m_menuItem_delete, m_menuItem_clear,
          m_menuItem_framedelay, m_menuItem_run, m_menuItem_loop, m_menuItem_crop,
          m_menuItem_rotateright, m_menuItem_rotateleft, m_menuItem_rotate180, m_menuItem_fliph,
          m_menuItem_flipv, m_menuItem_speed}) {
        item->Enable(enable);
    }
    m_toolBar_button->EnableTool(XRCID("m_tool_delete"), enable);
    m_toolBar_button->EnableTool(XRCID("m_tool_play"), enable);
    m_spinctrl_delay->Enable(enable);
    m_spinctrl_width->Enable(enable);
    m_spinctrl_height->Enable(enable);
    m_menuItem_saveproject->Enable(enable);
}
