#include "window/desktop_gtk.h"

#include <wx/filename.h>

#include <cstdlib>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

void AvoidUnconfiguredInputMethod() {
#ifdef __WXGTK__
    GtkSettings* settings = gtk_settings_get_default();
    if (settings == nullptr || std::getenv("GTK_IM_MODULE") != nullptr ||
        std::getenv("XMODIFIERS") != nullptr) {
        return;
    }
    gchar* module = nullptr;
    g_object_get(settings, "gtk-im-module", &module, nullptr);
    const bool configured = module != nullptr && *module != '\0';
    g_free(module);
    if (!configured) {
        g_object_set(settings, "gtk-im-module", "gtk-im-context-simple", nullptr);
    }
#endif
}

void TranslateKeyNames() {
#ifdef __WXGTK__
    auto* labels = static_cast<GtkAccelLabelClass*>(g_type_class_ref(GTK_TYPE_ACCEL_LABEL));
    const auto replace = [](gchar*& name, const char* english) {
        g_free(name);
        name = g_strdup(g_dpgettext2("gtk30", "keyboard label", english));
    };
    replace(labels->mod_name_shift, "Shift");
    replace(labels->mod_name_control, "Ctrl");
    replace(labels->mod_name_alt, "Alt");
    g_type_class_unref(labels);
#endif
}

void AddToRecentFiles(const wxString& path) {
#ifdef __WXGTK__
    gchar* uri = g_filename_to_uri(wxFileName(path).GetFullPath().fn_str(), nullptr, nullptr);
    if (uri != nullptr) {
        gtk_recent_manager_add_item(gtk_recent_manager_get_default(), uri);
        g_free(uri);
    }
#else
    (void)path;
#endif
}
