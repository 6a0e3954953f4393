// The whole main window, as root and as another user.

#include "jobs/jobs_window.h"
#include "thinprint/thinprint_conf.h"
#include "thinprint/thinprint_page.h"

namespace {

// Every widget that changes the system: boot switch, Add, Modify, Delete of the Printers page,
// the Jobs page's Delete, Delete All and printer control, and ThinPrint's settings and buttons.
std::vector<GtkWidget*> changers(GtkWidget* window) {
  GtkWidget *printers = pageOf(window, 0), *thinprint = pageOf(window, 2);
  GtkWidget* column = tpButtonColumnOf(thinprint);
  std::vector<GtkWidget*> widgets{bootSwitchOf(printers), tpEnableOf(thinprint)};
  for (int button : {1, 2, 3})
    widgets.push_back(findWidget(buttonRowOf(printers), nullptr, button));
  for (int button : {2, 3}) widgets.push_back(jobsButton(window, button));
  for (int button : {1, 2, 3})
    widgets.push_back(findWidget(printerActionRowOf(pageOf(window, 1)), nullptr, button));
  for (int row : {3, 4}) widgets.push_back(findWidget(thinprint, nullptr, row));
  for (int button : {1, 2, 3, 4, 6}) widgets.push_back(findWidget(column, nullptr, button));
  return widgets;
}

const std::string kWhy =
    "Only root can change printers. Start the program from the menu to be asked for your "
    "password, or as root.";

// "on" or "off", and whether the tooltip says why not.
std::string state(GtkWidget* widget) {
  const GStr tooltip = takeGStr(gtk_widget_get_tooltip_text(widget));
  return (sensitive(widget) ? "on" : "off") +
         std::string(tooltip && tooltip.get() == kWhy ? ": why" : "");
}

}  // namespace

// Root may change everything; in another user's window the same paths lead to every change,
// insensitive with a tooltip, and a notice stands beside the tabs.
TEST(MainWindow, ReadOnlyWithoutRoot) {
  writeFile("/etc/printcap", "office:lp=/dev/lp0:\n");
  writeFile("/etc/dorvek/thinprint.conf", "/dev/lp0 office\n");
  writeFile(kThinPrintClient, "");  // installed: the ThinPrint page is there
  unlink("/etc/init.d/runlpd");
  CommandRecorder quiet;
  const PageBuilders pages{drawprinterlist, drawprintjobs, thinprintpkg, tabpage_switched};
  GtkWidget* root = buildMainWindow(pages);
  ASSERT_EQ(seteuid(65534), 0);
  GtkWidget* user = buildMainWindow(pages);
  ASSERT_EQ(seteuid(0), 0);
  for (GtkWidget* window : {root, user}) {
    for (GtkWidget* widget : changers(window))
      EXPECT_EQ(state(widget), window == root ? "on" : "off: why") << G_OBJECT_TYPE_NAME(widget);
  }
  GtkWidget* notice =
      gtk_notebook_get_action_widget(GTK_NOTEBOOK(mainNotebookOf(user)), GTK_PACK_END);
  EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(notice)), "Read-only: not root");
  // Were Save pressed all the same, the failed write would name the missing permission.
  DialogLog log;
  ASSERT_EQ(seteuid(65534), 0);
  click(changers(user).back());
  ASSERT_EQ(seteuid(0), 0);
  EXPECT_EQ(log.text(),
            "Error: Permission denied: Cannot write ThinPrint configuration to /etc/dorvek folder: "
            "you have no permission to change it; only root may.\n");
  gtk_widget_destroy(root);
  gtk_widget_destroy(user);
}
