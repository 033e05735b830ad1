// The program's main window: owner of all editing state, the frame strip, and every command.
#pragma once

#include "app/canvas_size.h"
#include "app/places_setting.h"
#include "document/animation.h"
#include "document/decoded_frames.h"
#include "document/export_choices.h"
#include "edit/edit_target.h"
#include "edit/frame_edits.h"
#include "export/gif_export.h"
#include "import/project_reader.h"
#include "import/project_writer.h"
#include "window/browser_seam.h"
#include "window/file_dialog_seam.h"

#include <wx/arrstr.h>
#include <wx/bitmap.h>
#include <wx/cmdproc.h>
#include <wx/frame.h>
#include <wx/stopwatch.h>
#include <wx/timer.h>
#include <wx/weakref.h>

#include <atomic>
#include <memory>
#include <set>
#include <vector>

struct ProjectContents;
class BackgroundProjectWriter;
class RecoverySlot;
struct ProjectFile;
struct RefusedFiles;
class wxDC;
class wxImage;
class wxLocale;
class wxMenu;
class wxMenuBar;
class wxMenuItem;
class wxPanel;
class wxProgressDialog;
class wxSpinCtrl;
class wxSplitterEvent;
class wxSplitterWindow;
class wxStaticText;
class wxStatusBar;
class wxThumbnailCtrl;
class wxThumbnailEvent;
class wxToolBar;
class wxImageThumbnailItem;

enum {
    ID_PLAY_TIMER = 1,
    ID_POPUP_INSERT = 0,
};

// How an import enters the strip: at the end or from a position on, and whether Undo can take
// it back.
struct ImportPlan {
    bool recorded = false;
    EditKind kind{};
    int first = -1; // -1: at the end
    AnimationSettings before;
    int added = 0;

    // Where the first of its frames stands once they are in a strip of `count` frames.
    int FirstIn(int count) const { return first >= 0 ? first : count - added; }
    // An import that Undo takes back as one edit of this kind.
    static ImportPlan Recorded(EditKind kind, int first = -1);
};

// The name with ".gif" appended unless it already ends so (case-sensitive).
wxString EnsureGifExtension(const wxString& name);

class GifFrame : public wxFrame {
public:
    GifFrame();
    ~GifFrame() override;

    // Completes the window once the layout has created it: language, menus, strip, bindings.
    virtual void Init();

    void BuildMenuBar();
    void EnableEditControls();
    void DisableEditControls();

    void StopPreview();
    void ShowRunButton();
    void ShowStopButton();
    void PreviewFrame(int index);
    // Draws what the preview panel shows, for a panel of the given size.
    void PaintPreview(wxDC& dc, const wxSize& panel);
    void RefreshCanvasSize();

    void ApplyLanguage(int language);
    void RefreshTexts();
    bool IsProjectUnchanged() const;
    void CloseWithPrompt();
    // Writes the project file (asking for its name the first time); true when it was written.
    bool SaveProjectFile();
    // Reads the project file at `path` (asking for one when empty) and, once it was read,
    // replaces the strip with its frames.
    void OpenProjectFile(const wxString& path = wxEmptyString);
    // Opens the project at `path` (asking for one when empty) in place of the animation, with
    // the unsaved-project question first.
    void OpenProject(const wxString& path);
    // The project as Save Project would write it now.
    ProjectContents CurrentProjectContents() const;

    // Unsaved work is kept in a recovery project of this process in `folder`, written on a
    // thread of its own `delayMs` after a change (changes meanwhile join that write).
    void KeepRecoveryIn(const wxString& folder, int delayMs = 5000);
    // The recovery project's file and whether it is on disk (once written).
    wxString RecoveryPath() const;
    bool IsRecoveryWritten() const;
    // At start: offers back the newest work that a program ended without saving left in the
    // recovery folder, then opens `files` as named on the command line.
    void StartWith(const wxArrayString& files);
    // Files from outside (dropped, or named on the command line): a project file is opened,
    // images are imported before `position` (-1: at the end).
    void OpenFiles(const wxArrayString& files, int position, EditKind kind);

    // The undo history: the delay and output size now, and what is brought up to date after
    // the frames changed.
    AnimationSettings CurrentSettings() const;
    void ApplySettings(const AnimationSettings& settings);
    // The export choices now, the loop count among them, and their change: the Animation
    // menu's check items follow.
    ExportChoices CurrentChoices() const;
    void ApplyChoices(const ExportChoices& choices);
    void AfterFramesEdit();
    // Enables the Edit menu's items that can act and names the edits Undo and Redo act on.
    void UpdateEditMenu();
    // Starts a new history, for frames that did not come through it.
    void ForgetEdits();
    EditHistory& GetEditHistory() { return m_edits; }

    // The animation the strip and the preview show. Frames enter and leave it only through
    // these, which keep the strip's entries in step.
    const Animation& GetAnimation() const { return m_animation; }
    // Adds a decoded picture's entry before position n (-1: at the end) with `delay`; false
    // when the strip refused it (its source is gone), and the entry stays with the caller.
    bool AddEntry(wxImageThumbnailItem* item, int n, int delay);
    void PutFrame(AnimationFrame frame, int n);
    AnimationFrame TakeFrame(int n);
    void ReorderFrames(const std::vector<int>& order);
    void SetFrameDelay(int n, int delay);
    // The animation as the next export writes it: frames, output size and export choices.
    Animation ExportedAnimation() const;

    // Tests answer the file dialogs through this seam.
    void SetFileDialogSeam(FileDialogSeam seam) { m_fileDialogSeam = std::move(seam); }
    // Tests see the web pages the window would open through this seam.
    void SetBrowserSeam(BrowserSeam seam) { m_browserSeam = std::move(seam); }

    // Commands.
    void OnSaveAnimator(wxCommandEvent& event);
    void OnSaveAsAnimator(wxCommandEvent& event);
    void OnNewProject(wxCommandEvent& event);
    void OnOpenProject(wxCommandEvent& event);
    void OnSaveProject(wxCommandEvent& event);
    // An item of Recent Projects: opened as Open Project opens a file.
    void OnRecentProject(wxCommandEvent& event);
    // Recent Projects lists the remembered projects still there, newest first.
    void RefreshRecentMenu();
    void OnClose(wxEvent& event);
    void OnAddImage(wxCommandEvent& event);
    void OnDelete(wxCommandEvent& event);
    void OnClearAll(wxCommandEvent& event);
    void OnInsertImage(wxCommandEvent& event);
    void OnRunAnimation(wxCommandEvent& event);
    void OnLoopCount(wxCommandEvent& event);
    void OnBestColours(wxCommandEvent& event);
    void OnOptimiseFileSize(wxCommandEvent& event);
    void OnExportOptions(wxCommandEvent& event);
    void OnHelpMenu(wxCommandEvent& event);
    void OnAbout(wxCommandEvent& event);
    void OnLanguage(wxCommandEvent& event);
    void OnSetDelay(wxCommandEvent& event);
    void OnSetWidth(wxCommandEvent& event);
    void OnSetHeight(wxCommandEvent& event);
    void OnChangeSplitterWindow(wxSplitterEvent& event);
    void OnTimer(wxTimerEvent& event);
    void OnThumbnailLeftClick(wxThumbnailEvent& event);
    void OnThumbnailRightClick(wxThumbnailEvent& event);
    // The Menu key or Shift+F10 on the strip: the popup of the current frame.
    void OnThumbnailContextKey(wxThumbnailEvent& event);
    // A navigation key made another frame the current one: the preview shows it.
    void OnThumbnailFocusMoved(wxThumbnailEvent& event);
    void OnUpdateResult(wxCommandEvent& event);
    void OnUndo(wxCommandEvent& event);
    void OnRedo(wxCommandEvent& event);
    void OnSelectAll(wxCommandEvent& event);
    void OnMoveLeft(wxCommandEvent& event);
    void OnMoveRight(wxCommandEvent& event);
    void OnReverse(wxCommandEvent& event);
    void OnFrameDelay(wxCommandEvent& event);
    // A drag in the strip dropped the selected frames into the gap the event names.
    void OnStripMove(wxThumbnailEvent& event);
    // The frame tools: the view of every frame, and frames repeated.
    void OnCrop(wxCommandEvent& event);
    void OnRotateRight(wxCommandEvent& event);
    void OnRotateLeft(wxCommandEvent& event);
    void OnRotate180(wxCommandEvent& event);
    void OnFlipHorizontal(wxCommandEvent& event);
    void OnFlipVertical(wxCommandEvent& event);
    void OnDuplicate(wxCommandEvent& event);
    void OnPingPong(wxCommandEvent& event);
    void OnChangeSpeed(wxCommandEvent& event);
    void OnRemoveDuplicates(wxCommandEvent& event);
    void ThreadUpdate(wxCommandEvent& event);
    void WorkSaveAsGifThreadUpdate(wxCommandEvent& event);

    wxSplitterWindow* m_splitter3 = nullptr;
    wxPanel* m_panel_top = nullptr;
    wxPanel* m_panel_down = nullptr;
    wxProgressDialog* m_progressDialog = nullptr;
    wxProgressDialog* m_saveProgressDialog = nullptr;
    wxMenuBar* m_menubar = nullptr;
    wxMenu* m_menu_file = nullptr;
    wxMenu* m_menu_edit = nullptr;
    wxMenu* m_menu_frame = nullptr;
    wxMenu* m_menu_animation = nullptr;
    wxMenu* m_menu_help = nullptr;
    wxMenu* m_menu_recent = nullptr;
    wxMenuItem* m_menuItem_recent = nullptr;
    wxMenuItem* m_menuItem_new = nullptr;
    wxMenuItem* m_menuItem_open = nullptr;
    wxMenuItem* m_menuItem_save = nullptr;
    wxMenuItem* m_menuItem_saveas = nullptr;
    wxMenuItem* m_menuItem_saveproject = nullptr;
    wxMenuItem* m_menuItem_exit = nullptr;
    wxMenuItem* m_menuItem_undo = nullptr;
    wxMenuItem* m_menuItem_redo = nullptr;
    wxMenuItem* m_menuItem_selectall = nullptr;
    wxMenuItem* m_menuItem_moveleft = nullptr;
    wxMenuItem* m_menuItem_moveright = nullptr;
    wxMenuItem* m_menuItem_reverse = nullptr;
    wxMenuItem* m_menuItem_add = nullptr;
    wxMenuItem* m_menuItem_delete = nullptr;
    wxMenuItem* m_menuItem_clear = nullptr;
    wxMenuItem* m_menuItem_framedelay = nullptr;
    wxMenuItem* m_menuItem_duplicate = nullptr;
    wxMenuItem* m_menuItem_crop = nullptr;
    wxMenuItem* m_menuItem_rotateright = nullptr;
    wxMenuItem* m_menuItem_rotateleft = nullptr;
    wxMenuItem* m_menuItem_rotate180 = nullptr;
    wxMenuItem* m_menuItem_fliph = nullptr;
    wxMenuItem* m_menuItem_flipv = nullptr;
    wxMenuItem* m_menuItem_pingpong = nullptr;
    wxMenuItem* m_menuItem_speed = nullptr;
    wxMenuItem* m_menuItem_duplicates = nullptr;
    wxMenuItem* m_menuItem_run = nullptr;
    wxMenuItem* m_menuItem_loop = nullptr;
    wxMenuItem* m_menuItem_best = nullptr;
    wxMenuItem* m_menuItem_optimize = nullptr;
    wxMenuItem* m_menuItem_exportoptions = nullptr;
    wxMenuItem* m_menuItem_help = nullptr;
    wxMenu* m_menu_language = nullptr;
    wxMenuItem* m_menuItem_support = nullptr;
    wxMenuItem* m_menuItem_update = nullptr;
    wxMenuItem* m_menuItem_about = nullptr;
    wxMenuItem* m_menuItem_languages[7] = {};
    wxStaticText* m_staticText_delay = nullptr;
    wxStaticText* m_staticText_sec = nullptr;
    wxStaticText* m_staticText_gif = nullptr;
    wxStaticText* m_staticText_width = nullptr;
    wxStaticText* m_staticText_wpx = nullptr;
    wxStaticText* m_staticText_height = nullptr;
    wxStaticText* m_staticText_hpx = nullptr;
    int m_projectDelay = 0;
    int m_projectWidth = 0;
    int m_projectHeight = 0;
    int m_projectFrameCount = 0;
    int m_exportFrameCount = 0;
    int m_exportDelay = 0;
    int m_exportWidth = 0;
    int m_exportHeight = 0;
    wxToolBar* m_toolBar_button = nullptr;
    wxThumbnailCtrl* m_thumbnailCtrl = nullptr;
    wxTimer m_timer;
    int m_imageWidth = 0;
    int m_imageHeight = 0;
    int m_outputWidth = 0;
    int m_outputHeight = 0;
    wxString m_gifPath;
    wxString m_gifFileName;
    wxString m_gifName;
    wxString m_projectPath;
    wxString m_projectFileName;
    wxString m_currentFileName;
    // The frame on show, full size and as shown (crop, turn, flip); shares the decoded picture.
    wxImage m_currentPicture;
    // How every frame is shown and written: crop, turn, flip; the sources stay as they are.
    ViewTransform m_view;
    int m_playIndex = 0;
    int m_loopCount = 0;
    int m_loopsPlayed = 0;
    int m_language = 0;
    wxSpinCtrl* m_spinctrl_delay = nullptr;
    wxSpinCtrl* m_spinctrl_width = nullptr;
    wxSpinCtrl* m_spinctrl_height = nullptr;
    wxStatusBar* m_statusBar1 = nullptr;
    wxLocale* m_uiLocale = nullptr;
    bool m_isPlaying = false;

private:
    void InitEditHistory();
    void InitFileDrop();
    void BuildEditMenu();
    // Carries out an edit and keeps it for Undo; Store keeps one already carried out.
    void SubmitEdit(wxCommand* edit);
    void StoreEdit(wxCommand* edit);
    // Keeps a change of the delay or output size, joining it to the same change just before.
    // For the delay, `frameDelays` are the frames' delays before the change.
    void RecordSettingsEdit(EditKind kind, const AnimationSettings& before,
                            std::vector<int> frameDelays = {});
    void Reorder(EditKind kind, const std::vector<int>& order);
    std::vector<int> SelectedFrames() const;
    // The frame tools' common steps: a new view of the frames as one edit, the output size
    // following it; frames of the given old positions appended as copies from `first` on.
    void ChangeView(EditKind kind, const ViewTransform& view);
    void InsertCopies(EditKind kind, const std::vector<int>& sources, int first);
    void InsertRepeats(EditKind kind, const std::vector<int>& order);
    // The canvas the frames give once shown with `view`.
    FrameSize ViewedCanvas(const ViewTransform& view) const;
    // The frame the tools look at: the first selected, else the first.
    int FocusFrame() const;

    // Shows a file dialog in the folder this kind of dialog showed last (unless the request
    // names one) and remembers the folder chosen.
    bool ShowFileDialog(DialogPlace place, FileDialogRequest request, wxArrayString& paths);
    // A project opened or saved: first in Recent Projects and in the desktop's recent files.
    void RememberProject(const wxString& path);
    // The window's remembered size and position, kept on a screen that is there.
    void RestoreWindowPlace();
    void RememberWindowPlace();
    // Writes the places changed here over those another copy of the program wrote meanwhile.
    void SavePlaces();
    void SetLabelTexts();
    void FitStatusBarHeight();
    void SetEditControlsEnabled(bool enable);
    // Status field 1: the previewed frame's file name and size.
    static wxString FormatFrameStatus(const wxString& name, int width, int height);

    void ShowFramePopup(const wxPoint& position);
    void ClearPreviewPanel();
    int AskToSaveProject();
    // Asks about unsaved work before it is replaced; false when the user keeps it.
    bool MayReplaceWork();
    void SetProjectTitle();
    // The project file chosen in the save dialog, with ".xml"; false when none was chosen.
    bool AskProjectPath(wxString& path);
    // Adds the extension a typed name lacks; asks before that completed name replaces a file.
    bool AddExtensionAsking(wxString& path, const wxString& extension);
    // Takes the delay, size and frame count shown now as the saved project.
    void RecordProjectState();
    // Writes the project file off the GUI thread, showing a progress dialog when it takes long;
    // returns once the file is written or has failed, with `error` then naming the cause.
    bool WriteProjectShowingProgress(const wxString& path, const ProjectContents& contents,
                                     wxString* error);
    // The loop count and export choices an opened project names.
    void ApplyProjectSettings(const ProjectFile& project);
    // At the end of an import started by opening a project: its size, then the saved state.
    void FinishProjectOpen();
    // Empties the strip and forgets the view of its frames; commands, canvas size, status text
    // and preview follow.
    void EmptyStrip();
    // The chosen image files of the Add and Insert dialogs; false when none were chosen.
    bool AskImagePaths(const wxString& message, wxArrayString& paths);
    // Asks for the part and rate of each video among the paths, which then names that part; a
    // file without video is named to the user and left out, as is a video whose dialog is
    // cancelled. False when no path is left.
    bool ChooseVideoParts(wxArrayString& paths);
    // Starts the import worker; false when it could not start (the user has been told).
    bool StartImport(const wxArrayString& paths, const wxString& title,
                     const ImportPlan& plan = ImportPlan());
    // Status field 0: the animation's name and output size.
    void ShowOutputSize(int width, int height);
    // The output size that a typed width or height gave: both controls, members and status.
    void ShowTypedSize(const FrameSize& size);
    // A width or height typed into its field: the other side follows the frames' proportions.
    void ApplyTypedSide(wxSpinCtrl* field, int imageSide,
                        FrameSize (*sizeFor)(int, const FrameSize&), EditKind kind);
    // Status field 0 from the size controls, as after the canvas was taken from the frames.
    void ShowCanvasStatus();
    void FinishImport();
    // A cancelled import: the frames it put into the strip go again, and an opened project
    // leaves a new animation behind.
    void TakeBackImport();
    // Drops what the finished or cancelled import kept: its plan, paths and refusals.
    void ForgetImport();
    // The import or export progress dialog; its Cancel sets `cancelled`.
    wxProgressDialog* NewProgressDialog(const wxString& title, const wxString& message,
                                        std::shared_ptr<std::atomic<bool>> cancelled);
    // GTK takes the keyboard focus from a window that a progress dialog disables and never
    // gives it back: the focus is noted before a dialog comes and returned when it goes (to the
    // strip when no control of this window had it).
    void NoteFocusBehindProgress();
    void CloseProgressDialog(wxProgressDialog*& dialog);
    wxWeakRef<wxWindow> m_focusBehindProgress;
    // Empties the window for a new animation: no frames, no project, no GIF file.
    void StartNewAnimation();
    // Tells the user once which of the chosen files gave no picture, which were damaged (their
    // frames before the damage came in), which were left out because their frames would not
    // fit into the memory budget, which pictures have more pixels than the program takes (with
    // their sizes) and which sources of an opened project are missing.
    void ReportUnreadFiles(const wxArrayString& unread, const wxArrayString& damaged,
                           const wxArrayString& tooLarge,
                           const std::vector<MissingSource>& missing = {},
                           const wxArrayString& overCap = wxArrayString());
    void OnPaintPreview(wxPaintEvent& event);

    // What an export compares and what a failed export puts back.
    struct ExportSnapshot {
        int frameCount, delay, width, height;
        unsigned editCount;
        ExportOptions options;
        std::vector<int> delays;
        ViewTransform view;
        bool operator==(const ExportSnapshot& other) const {
            return frameCount == other.frameCount && delay == other.delay && width == other.width &&
                   height == other.height && editCount == other.editCount &&
                   options == other.options && delays == other.delays && view == other.view;
        }
    };
    struct SavedState {
        wxString gifPath, gifName;
        ExportSnapshot snapshot{};
        wxString statusText;
    };
    bool AskGifPath(const wxString& message, wxString& path);
    ExportSnapshot CurrentSnapshot();
    ExportSnapshot StoredSnapshot() const;
    void StoreSnapshot(const ExportSnapshot& snapshot);
    SavedState RememberSavedState();
    void RestoreSavedState(const SavedState& state);
    void StartExport(int width, int height, const wxString& title, const SavedState& before);
    void ShowExportFailure(const wxString& message);
    // The options the choices give the next export.
    ExportOptions CurrentExportOptions() const;
    // Makes `after` the choices as one edit of `kind`, remembered for new animations; nothing
    // when they are the choices already.
    void ChangeChoices(EditKind kind, const ExportChoices& after);
    // What Save says of a size limit's choice, once the file is written.
    void ShowFittedSize(const GifExportResult& result);

    FileDialogSeam m_fileDialogSeam;
    PlacesSetting m_places;
    // The places as this window last read or wrote them: what it changed since is its own.
    PlacesSetting m_placesRead;
    std::unique_ptr<EditTarget> m_editTarget;
    Animation m_animation;
    // The frames the preview showed last, decoded.
    DecodedFrames m_decodedFrames{4};
    // Playback keeps to the frames' delays on this clock, however late a tick comes.
    wxStopWatch m_playClock;
    long long m_playDue = 0;
    // Undone frames stay with their edit, by reference: a hundred edits, and the oldest go
    // once their frames would take more than 512 MiB.
    EditHistory m_edits{100, size_t(512) << 20};
    // The last Save Project failed: the next one asks for a file.
    bool m_projectSaveFailed = false;
    // An import of an opened project runs; its size is applied when the frames are in.
    bool m_openingProject = false;
    FrameSize m_openedProjectSize;
    wxArrayString m_openedProjectPaths;
    std::vector<int> m_openedProjectDelays;
    // The frames' delays when the project was saved or opened.
    std::vector<int> m_projectDelays;
    BrowserSeam m_browserSeam = OpenInDesktopBrowser;
    // The strip's edit count at the last export: frames replaced without changing their
    // number still make Save write the file again.
    unsigned m_exportEditCount = 0;
    // The strip's edit count when the project was saved or opened: frames moved or replaced
    // without changing their number are unsaved work too.
    unsigned m_projectEditCount = 0;
    ViewTransform m_projectView;
    ExportChoices m_projectChoices;
    // The export choices but the loop count, which is m_loopCount; read through
    // CurrentChoices().
    ExportChoices m_exportChoices;
    // What the running export's worker reports besides its progress: the size written and
    // what a size limit chose.
    std::shared_ptr<GifExportResult> m_exportResult;
    ExportOptions m_exportOptions;
    std::vector<int> m_exportDelays;
    ViewTransform m_exportView;
    SavedState m_stateBeforeExport;
    // The previewed frame shrunk to the panel, made once per frame and panel size.
    wxBitmap m_previewScaled;
    bool m_previewShown = false;
    // The paths of the running import, and the sources that gave at least one picture.
    wxArrayString m_importPaths;
    std::set<wxString> m_importedSources;
    // Pictures the import worker has posted and this window has not taken yet.
    std::shared_ptr<std::atomic<unsigned long long>> m_importBacklog;
    // The import progress the dialog shows.
    int m_importShownProgress = -1;
    ImportPlan m_import;
    // The sources of the opened project that were found nowhere: Save Project writes them
    // back at their places.
    std::vector<MissingSource> m_missingSources;
    // Whether they are named once the opened project's frames are in.
    bool m_reportMissing = false;
    // The files the running import leaves out for lack of memory.
    std::shared_ptr<RefusedFiles> m_importRefused;
    // Set once the user cancelled the running import or export; its worker stops at the next
    // picture or frame.
    std::shared_ptr<std::atomic<bool>> m_importCancelled;
    std::shared_ptr<std::atomic<bool>> m_exportCancelled;

    // Before the GIF is written to `target`: asks when the file gives frames of the animation;
    // false when it is not to be written. Afterwards those frames name the written file's own.
    bool MayWriteOverSources(const wxString& target);
    void TakeFramesFromWrittenFile(const wxString& written);
    // The frames the running export writes over the file of.
    std::vector<int> m_framesFromTarget;
    // Shows a project read from `path` in place of the animation, or says why it cannot.
    void OpenReadProject(const wxString& path, ProjectFile project);
    // Writes the recovery project while there is unsaved work, removes it once there is none.
    void KeepRecovery();
    // Frames that no project file holds as they are now.
    bool HasUnsavedWork() const;
    // A number that changes with what the recovery project holds.
    size_t RecoveryLook() const;
    wxString m_recoveryFolder;
    std::unique_ptr<RecoverySlot> m_recoverySlot;
    // Declared after the slot: it ends before the slot removes the file.
    std::unique_ptr<BackgroundProjectWriter> m_recoveryWriter;
    wxTimer m_recoveryTimer;
    int m_recoveryDelay = 5000;
    size_t m_recoverySeen = 0;
    bool m_recoveryKept = false;
    // The opened project is restored work: it stays unsaved, and these files follow it.
    bool m_restoringWork = false;
    wxArrayString m_openAfterRestore;

    wxDECLARE_EVENT_TABLE();
};
