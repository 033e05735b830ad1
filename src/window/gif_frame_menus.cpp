// The menu bar, built in code so that a language switch can build it again in the new language.
#include "window/gif_frame.h"

#include "app/language_setting.h"
#include "window/menu_labels.h"

#include <wx/intl.h>
#include <wx/menu.h>

void GifFrame::BuildMenuBar() {
    wxMenuBar* const previous = m_menubar;
    m_menubar = new wxMenuBar();

    m_menu_file = new wxMenu(0);
    m_menuItem_new = AddItem(m_menu_file, "New Project", "Ctrl+N");
    m_menuItem_save = AddItem(m_menu_file, "Save");
    m_menuItem_saveas = AddItem(m_menu_file, "Save As", "Ctrl+Shift+S");
    m_menuItem_open = AddItem(m_menu_file, "Open Project", "Ctrl+O");
    m_menu_recent = new wxMenu(0);
    m_menuItem_recent = AddSubmenu(m_menu_file, m_menu_recent, "Recent Projects");
    m_menuItem_saveproject = AddItem(m_menu_file, "Save Project", "Ctrl+S");
    m_menuItem_exit = AddItem(m_menu_file, "Exit", "Ctrl+Q");
    AddMenu(m_menubar, m_menu_file, "File");

    BuildEditMenu();
    AddMenu(m_menubar, m_menu_edit, "Edit");

    m_menu_frame = new wxMenu(0);
    m_menuItem_add = AddItem(m_menu_frame, "Add Image", "Ctrl+Ins");
    m_menuItem_delete = AddItem(m_menu_frame, "Delete", "Ctrl+Del");
    m_menuItem_clear = AddItem(m_menu_frame, "Clear All");
    m_menuItem_framedelay = AddItem(m_menu_frame, "Frame Delay...");
    m_menu_frame->AppendSeparator();
    m_menuItem_duplicate = AddItem(m_menu_frame, "Duplicate", "Ctrl+D");
    m_menuItem_duplicates = AddItem(m_menu_frame, "Remove Duplicate Frames…");
    AddMenu(m_menubar, m_menu_frame, "Frame");

    m_menu_animation = new wxMenu(0);
    m_menuItem_run = AddItem(m_menu_animation, "Run animation", "Ctrl+P");
    m_menuItem_loop = AddItem(m_menu_animation, "Loop Count");
    m_menu_animation->AppendSeparator();
    m_menuItem_crop = AddItem(m_menu_animation, "Crop…");
    m_menuItem_rotateright = AddItem(m_menu_animation, "Rotate 90° Right");
    m_menuItem_rotateleft = AddItem(m_menu_animation, "Rotate 90° Left");
    m_menuItem_rotate180 = AddItem(m_menu_animation, "Rotate 180°");
    m_menuItem_fliph = AddItem(m_menu_animation, "Flip Horizontally");
    m_menuItem_flipv = AddItem(m_menu_animation, "Flip Vertically");
    m_menuItem_pingpong = AddItem(m_menu_animation, "Ping-Pong");
    m_menuItem_speed = AddItem(m_menu_animation, "Change Speed…");
    m_menu_animation->AppendSeparator();
    m_menuItem_best = AddItem(m_menu_animation, "Best colours", nullptr, wxITEM_CHECK);
    m_menuItem_best->Check(m_exportChoices.options.palette == PaletteMode::Best);
    m_menuItem_optimize = AddItem(m_menu_animation, "Optimise file size", nullptr, wxITEM_CHECK);
    m_menuItem_optimize->Check(m_exportChoices.options.optimize);
    m_menuItem_exportoptions = AddItem(m_menu_animation, "Export Options…");
    AddMenu(m_menubar, m_menu_animation, "Animation");

    m_menu_help = new wxMenu(0);
    m_menuItem_help = AddItem(m_menu_help, "Help", "F1");
    m_menu_language = new wxMenu(0);
    for (int i = 0; i < 7; ++i) {
        m_menuItem_languages[i] = m_menu_language->Append(new wxMenuItem(
            m_menu_language, kInterfaceLanguages[i].value,
            wxString::FromUTF8(kInterfaceLanguages[i].label), wxEmptyString, wxITEM_CHECK));
    }
    for (wxMenuItem* item : m_menuItem_languages) {
        if (item->GetId() == m_language) {
            item->Check(true);
        }
    }
    AddSubmenu(m_menu_help, m_menu_language, "Language");
    m_menuItem_support = AddItem(m_menu_help, "Support");
    m_menuItem_update = AddItem(m_menu_help, "Check for Update");
    m_menuItem_about = AddItem(m_menu_help, "About");
    AddMenu(m_menubar, m_menu_help, "Help");

    const struct {
        wxMenuItem* item;
        wxObjectEventFunction handler;
    } bindings[] = {
        {m_menuItem_new, wxCommandEventHandler(GifFrame::OnNewProject)},
        {m_menuItem_save, wxCommandEventHandler(GifFrame::OnSaveAnimator)},
        {m_menuItem_saveas, wxCommandEventHandler(GifFrame::OnSaveAsAnimator)},
        {m_menuItem_open, wxCommandEventHandler(GifFrame::OnOpenProject)},
        {m_menuItem_saveproject, wxCommandEventHandler(GifFrame::OnSaveProject)},
        {m_menuItem_exit, wxEventHandler(GifFrame::OnClose)},
        {m_menuItem_add, wxCommandEventHandler(GifFrame::OnAddImage)},
        {m_menuItem_delete, wxCommandEventHandler(GifFrame::OnDelete)},
        {m_menuItem_clear, wxCommandEventHandler(GifFrame::OnClearAll)},
        {m_menuItem_framedelay, wxCommandEventHandler(GifFrame::OnFrameDelay)},
        {m_menuItem_run, wxCommandEventHandler(GifFrame::OnRunAnimation)},
        {m_menuItem_loop, wxCommandEventHandler(GifFrame::OnLoopCount)},
        {m_menuItem_duplicate, wxCommandEventHandler(GifFrame::OnDuplicate)},
        {m_menuItem_crop, wxCommandEventHandler(GifFrame::OnCrop)},
        {m_menuItem_rotateright, wxCommandEventHandler(GifFrame::OnRotateRight)},
        {m_menuItem_rotateleft, wxCommandEventHandler(GifFrame::OnRotateLeft)},
        {m_menuItem_rotate180, wxCommandEventHandler(GifFrame::OnRotate180)},
        {m_menuItem_fliph, wxCommandEventHandler(GifFrame::OnFlipHorizontal)},
        {m_menuItem_flipv, wxCommandEventHandler(GifFrame::OnFlipVertical)},
        {m_menuItem_pingpong, wxCommandEventHandler(GifFrame::OnPingPong)},
        {m_menuItem_speed, wxCommandEventHandler(GifFrame::OnChangeSpeed)},
        {m_menuItem_duplicates, wxCommandEventHandler(GifFrame::OnRemoveDuplicates)},
        {m_menuItem_best, wxCommandEventHandler(GifFrame::OnBestColours)},
        {m_menuItem_optimize, wxCommandEventHandler(GifFrame::OnOptimiseFileSize)},
        {m_menuItem_exportoptions, wxCommandEventHandler(GifFrame::OnExportOptions)},
        {m_menuItem_help, wxCommandEventHandler(GifFrame::OnHelpMenu)},
        {m_menuItem_support, wxCommandEventHandler(GifFrame::OnHelpMenu)},
        {m_menuItem_update, wxCommandEventHandler(GifFrame::OnHelpMenu)},
        {m_menuItem_about, wxCommandEventHandler(GifFrame::OnAbout)},
    };
    for (const auto& binding : bindings) {
        Connect(binding.item->GetId(), wxEVT_MENU, binding.handler);
    }
    for (wxMenuItem* item : m_menuItem_languages) {
        Connect(item->GetId(), wxEVT_MENU, wxCommandEventHandler(GifFrame::OnLanguage));
    }
    Connect(ID_POPUP_INSERT, wxEVT_MENU, wxCommandEventHandler(GifFrame::OnInsertImage));
    Connect(wxID_DELETE, wxEVT_MENU, wxCommandEventHandler(GifFrame::OnDelete));

    Connect(wxID_FILE1, wxID_FILE1 + int(kRecentProjects) - 1, wxEVT_MENU,
            wxCommandEventHandler(GifFrame::OnRecentProject));

    AssignMnemonics(m_menubar);
    RefreshRecentMenu();
    SetMenuBar(m_menubar);
    // The replaced bar may be the one whose item is being handled right now: it goes once the
    // handler has returned.
    if (previous != nullptr) {
        CallAfter([previous] { delete previous; });
    }
    UpdateEditMenu();
}
