// The whole main window, as root and as another user.
#include <gtest/gtest.h>
#include <unistd.h>

#include "app/startup.h"
#include "app/widgets.h"
#include "gui_support.h"
#include "jobs/jobs_page.h"
#include "printers/printers_page.h"
#include "thinprint/thinprint_conf.h"
#include "thinprint/thinprint_page.h"

namespace {

// Every widget that changes the system: the Printers, Jobs and ThinPrint pages in this order.
std::vector<GtkWidget*> changers(GtkWidget* window) {
  GtkNotebook* notebook = GTK_NOTEBOOK(mainNotebookOf(window));
  GtkWidget* printers = gtk_notebook_get_nth_page(notebook, 0);
  GtkWidget* jobButtons = jobsButtonRowOf(gtk_notebook_get_nth_page(notebook, 1));
  GtkWidget* thinprint = thinprintPageOf(GTK_WIDGET(notebook));
  GtkWidget* column = tpButtonColumnOf(thinprint);
  return {bootSwitchOf(printers),
          addButtonOf(printers),
          modifyButtonOf(printers),
          deleteButtonOf(printers),
          findWidget(jobButtons, nullptr, 2),
          findWidget(jobButtons, nullptr, 3),
          tpEnableOf(thinprint),
          gtk_widget_get_parent(tpBandwidthEntryOf(thinprint)),
          gtk_widget_get_parent(tpPortEntryOf(thinprint)),
          tpImportOf(column),
          tpAddOf(column),
          tpModifyOf(column),
          tpDeleteOf(column),
          tpSaveOf(column)};
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
  ASSERT_NE(thinprintPageOf(mainNotebookOf(user)), nullptr);
  const std::string why =
      "Only root can change printers. Start the program from the menu to be asked for your "
      "password, or as root.";
  for (GtkWidget* widget : changers(root)) {
    EXPECT_TRUE(sensitive(widget) && tooltip(widget) != why) << G_OBJECT_TYPE_NAME(widget);
  }
  for (GtkWidget* widget : changers(user)) {
    EXPECT_TRUE(!sensitive(widget) && tooltip(widget) == why) << G_OBJECT_TYPE_NAME(widget);
  }
  auto notice = [](GtkWidget* window) {
    return gtk_notebook_get_action_widget(GTK_NOTEBOOK(mainNotebookOf(window)), GTK_PACK_END);
  };
  EXPECT_EQ(notice(root), nullptr);
  ASSERT_NE(notice(user), nullptr);
  EXPECT_STREQ(gtk_label_get_text(GTK_LABEL(notice(user))), "Read-only: not root");
  EXPECT_EQ(tree(user), tree(root));
  // Were Save pressed all the same, the failed write would name the missing permission.
  DialogLog log;
  ASSERT_EQ(seteuid(65534), 0);
  gtk_button_clicked(GTK_BUTTON(changers(user).back()));
  ASSERT_EQ(seteuid(0), 0);
  EXPECT_EQ(log.text(),
            "Error: Permission denied: Cannot write ThinPrint configuration to /etc/dorvek folder: "
            "you have no permission to change it; only root may.\n");
  gtk_widget_destroy(root);
  gtk_widget_destroy(user);
}
