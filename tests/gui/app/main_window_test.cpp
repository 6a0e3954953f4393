// The whole main window, as root and as another user.

#include "jobs/jobs_window.h"
#include "thinprint/thinprint_conf.h"
#include "thinprint/thinprint_page.h"

namespace {

// Every widget that changes the system: boot switch, Add, Modify, Delete of the Printers page,
// Delete and Delete All of the Jobs page, and ThinPrint's settings and buttons.
std::vector<GtkWidget*> changers(GtkWidget* window) {
  GtkWidget* printers = pageOf(window, 0);
  GtkWidget* thinprint = pageOf(window, 2);
  GtkWidget* column = tpButtonColumnOf(thinprint);
  std::vector<GtkWidget*> widgets{bootSwitchOf(printers), tpEnableOf(thinprint)};
  for (int button : {1, 2, 3})
    widgets.push_back(findWidget(buttonRowOf(printers), nullptr, button));
  for (int button : {2, 3}) widgets.push_back(jobsButton(window, button));
  for (int row : {3, 4}) widgets.push_back(findWidget(thinprint, nullptr, row));
  for (int button : {1, 2, 3, 4, 6}) widgets.push_back(findWidget(column, nullptr, button));
  return widgets;
}

// The widget tree as the paths see it: types, depth first.
std::string tree(GtkWidget* widget) {
  std::string text = G_OBJECT_TYPE_NAME(widget);
  if (!GTK_IS_CONTAINER(widget)) return text;
  GList* children = gtk_container_get_children(GTK_CONTAINER(widget));
  text += "(";
  for (GList* child = children; child != nullptr; child = child->next)
    text += tree(GTK_WIDGET(child->data)) + " ";
  g_list_free(children);
  return text + ")";
}

std::string tooltip(GtkWidget* widget) {
  const GStr text = takeGStr(gtk_widget_get_tooltip_text(widget));
  return text ? text.get() : "";
}

}  // namespace

// Root may change everything; another user's window has the same widgets in the same places,
// every change insensitive with a tooltip, and a notice beside the tabs.
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
  const std::string why =
      "Only root can change printers. Start the program from the menu to be asked for your "
      "password, or as root.";
  for (GtkWidget* widget : changers(root)) {
    EXPECT_TRUE(sensitive(widget) && tooltip(widget) != why) << G_OBJECT_TYPE_NAME(widget);
  }
  for (GtkWidget* widget : changers(user)) {
    EXPECT_TRUE(!sensitive(widget) && tooltip(widget) == why) << G_OBJECT_TYPE_NAME(widget);
  }
  GtkWidget* notice =
      gtk_notebook_get_action_widget(GTK_NOTEBOOK(mainNotebookOf(user)), GTK_PACK_END);
  EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(notice)), "Read-only: not root");
  EXPECT_EQ(tree(user), tree(root));  // root's has no notice; neither's paths move
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
