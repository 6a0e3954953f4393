// Start-up checks and the main window with its notebook.
#pragma once

#include <gtk/gtk.h>
#include <sys/types.h>

#include <string>

// The page builders of the layers above; the main window calls them in this order.
struct PageBuilders {
  void (*printers)(GtkWidget* pageBox) = nullptr;
  void (*jobs)(GtkWidget* pageBox) = nullptr;
  void (*thinprint)(GtkWidget* notebook, GtkWidget* printersPageBox) = nullptr;
  // "switch_page" handler of the notebook.
  void (*switchPage)(GtkNotebook*, GtkNotebookPage*, guint, gpointer) = nullptr;
};

// Whether this process runs the installed program's file, under whatever name it was started.
bool runsInstalledProgram();
// True when the real user is "root" or a listed member of group_name.
bool user_authorized(const char* group_name);
// True when another process of the program named programName (argv[0]) is running; the
// processes this one was started from do not count.
bool anotherInstanceRuns(const char* programName);
// The parent's process ID from the text of /proc/PID/status; 0 when it names none.
pid_t parentProcessId(const std::string& procStatus);
// Leaves the main loop; connected to the main window's "destroy" and every Exit button.
void window_destroyed(GtkWidget* widget, gpointer data);

// Builds the main window, its notebook and pages (not shown). The toolkit must be initialised.
// Also installs the busy wait (app/busy.h) for every command run from then on.
GtkWidget* buildMainWindow(const PageBuilders& pages);
// The notebook: the main window's only child.
GtkWidget* mainNotebookOf(GtkWidget* mainWindow);

// The whole start-up and main loop; the process's exit status (always 0).
int runApplication(int argc, char** argv, const PageBuilders& pages);
