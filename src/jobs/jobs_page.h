// The Jobs page: the queue of one printer, listed again every 5 seconds while shown, with the
// queue's state in words and the spooler's queue control.
#pragma once

#include <gtk/gtk.h>

// Row of the job table where the picked job now is; -1 when no job is picked. The pick itself
// is a job number: after each listing it moves with its job, and ends when the job has left.
extern int jrow_n;

// Columns of the job table, in the order of the queue report's pieces.
enum JobColumn { kJobRank = 0, kJobOwner, kJobClass, kJobId, kJobFiles, kJobSize, kJobTime };

// How often the shown queue is listed again.
constexpr guint kJobRefreshMs = 5000;

// Builds the page in pageBox, which is already page 1 of the notebook (page 0: Printers).
void drawprintjobs(GtkWidget* pageBox);
// Lists the chosen printer's queue into the job table: lpq runs as a watched child (time limit
// kChildLimitMs) and the table is filled from the main loop when it has ended.
void list_jobs(GtkWidget* CBprinter);

// Widget paths of the page.
GtkWidget* jobsChooserRowOf(GtkWidget* pageBox);
GtkWidget* jobsChooserOf(GtkWidget* pageBox);
GtkWidget* jobTableOf(GtkWidget* pageBox);
GtkWidget* jobsButtonRowOf(GtkWidget* pageBox);
GtkWidget* jobsStateLabelOf(GtkWidget* pageBox);
GtkWidget* printerActionRowOf(GtkWidget* pageBox);
GtkWidget* jobActionRowOf(GtkWidget* pageBox);
GtkWidget* jobsPageOfChooser(GtkWidget* chooser);
GtkWidget* notebookOfChooser(GtkWidget* chooser);
GtkWidget* jobsPageOfButton(GtkWidget* button);
GtkWidget* jobsPageOfNotebook(GtkWidget* notebook);

// Handlers.
void tabpage_switched(GtkNotebook* notebook, GtkNotebookPage* page, guint page_num,
                      gpointer user_data);
gboolean showPRjobs(gpointer CBprt);
void CBavailprinter_changed(GtkWidget* widget, gpointer data);
void btnjobrefresh_clicked(GtkWidget* widget, gpointer data);
void btnjobdel_clicked(GtkWidget* widget, gpointer data);
void btnjobdel_all_clicked(GtkWidget* widget, gpointer data);
// Queue control: the printer's (Pause/Resume, Reject/Accept, Redirect...) and the selected
// job's (Hold, Release, Release All, Print Next, Move To...), each one lpc line.
void btnjobpause_clicked(GtkWidget* widget, gpointer data);
void btnjobreject_clicked(GtkWidget* widget, gpointer data);
void btnjobredirect_clicked(GtkWidget* widget, gpointer data);
void btnjobhold_clicked(GtkWidget* widget, gpointer data);
void btnjobrelease_clicked(GtkWidget* widget, gpointer data);
void btnjobrelease_all_clicked(GtkWidget* widget, gpointer data);
void btnjobtopq_clicked(GtkWidget* widget, gpointer data);
void btnjobmove_clicked(GtkWidget* widget, gpointer data);
void joblist_selected(GtkWidget* widget, gint row, gint column, GdkEventButton* event,
                      gpointer data);
void joblist_unselected(GtkWidget* widget, gint row, gint column, GdkEventButton* event,
                        gpointer data);
