// The whole main window, as root and as another user.

#include <gdk/gdkkeysyms.h>

#include <array>
#include <clocale>
#include <filesystem>
#include <map>

#include "app/i18n.h"
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

namespace {

// What does not fit in one window: a label given less room than its text takes or placed past the
// window's edge (but column titles, which scroll with their list), and a shared mnemonic.
struct FitWalk {
  GtkWidget* window;
  std::string title = gtk_window_get_title(GTK_WINDOW(window));
  bool inList = false;
  std::map<guint, std::string> mnemonics;
  std::string faults;

  static void visit(GtkWidget* widget, gpointer self) {
    auto* walk = static_cast<FitWalk*>(self);
    if (!gtk_widget_get_mapped(widget)) return;
    if (GTK_IS_LABEL(widget)) walk->check(GTK_LABEL(widget), widget->allocation);
    if (!GTK_IS_CONTAINER(widget)) return;
    const bool inList = walk->inList;
    walk->inList = inList || GTK_IS_CLIST(widget);
    gtk_container_forall(GTK_CONTAINER(widget), visit, self);
    walk->inList = inList;
  }
  void check(GtkLabel* label, const GtkAllocation& has) {
    const std::string text = gtk_label_get_text(label), where = title + ": \"" + text + "\" ";
    // The text as laid out (a size request may claim less or more than it takes).
    int width = 0, height = 0;
    pango_layout_get_pixel_size(gtk_label_get_layout(label), &width, &height);
    width += 2 * GTK_MISC(label)->xpad;
    height += 2 * GTK_MISC(label)->ypad;
    if (width > has.width || height > has.height)
      faults += where + "takes " + std::to_string(width) + "x" + std::to_string(height) + ", has " +
                std::to_string(has.width) + "x" + std::to_string(has.height) + "\n";
    int x = 0, y = 0;
    if (!inList && gtk_widget_translate_coordinates(GTK_WIDGET(label), window, 0, 0, &x, &y) &&
        (x + has.width > window->allocation.width || y + has.height > window->allocation.height))
      faults += where + "ends past the window's edge\n";
    const guint key = gdk_keyval_to_lower(gtk_label_get_mnemonic_keyval(label));
    if (key == GDK_VoidSymbol) return;
    auto [other, fresh] = mnemonics.emplace(key, text);
    if (!fresh) faults += where + "has the mnemonic of \"" + other->second + "\"\n";
  }
};

// Until the X server has given the window the size it asked for, after a change of layout.
void settle(GtkWidget* window) {
  for (int wait = 0; wait < 100; ++wait) {
    gdk_display_sync(gdk_display_get_default());
    pumpEvents();
    const GtkRequisition& wants = window->requisition;
    if (window->allocation.width >= wants.width && window->allocation.height >= wants.height &&
        !GTK_CONTAINER(window)->need_resize)
      return;
    g_usleep(5000);
  }
}

std::string showAndWalk(GtkWidget* window) {
  gtk_widget_show(window);
  settle(window);
  FitWalk walk{window};
  FitWalk::visit(window, &walk);
  return walk.faults;
}

// The dialogs walked so far, what they showed wrong, and how the next one is answered.
int dialogsWalked = 0, dialogResponse = GTK_RESPONSE_REJECT;
std::string dialogFaults;

gboolean walkRunningDialog(gpointer /*data*/) {
  GtkWidget* dialog = gtk_grab_get_current();
  if (!GTK_IS_DIALOG(dialog) || !gtk_widget_get_mapped(dialog)) return TRUE;
  ++dialogsWalked;
  dialogFaults += showAndWalk(dialog);
  if (dialog->allocation.width > 1024 || dialog->allocation.height > 768)  // a thin client's screen
    dialogFaults += std::string(gtk_window_get_title(GTK_WINDOW(dialog))) + ": too large\n";
  gtk_dialog_response(GTK_DIALOG(dialog), dialogResponse);
  return TRUE;
}

// Presses button and walks the dialog it runs, then answers it with response.
void walkDialogOf(GtkWidget* button, int response = GTK_RESPONSE_REJECT) {
  dialogResponse = response;
  const guint source = g_timeout_add(20, walkRunningDialog, nullptr);
  click(button);
  g_source_remove(source);
}

struct Language {
  const char* code;
  const char* printersTab;  // "Printers"
  const char* modifyTitle;  // "Modify Printer": the editor's mode marker
};

class Translated : public testing::TestWithParam<Language> {
 protected:
  static void SetUpTestSuite() {
    // LANGUAGE counts only where the locale is not C.
    ASSERT_EQ(std::system("localedef --no-archive -i en_US -f UTF-8 en_US.UTF-8"), 0);
  }
  void SetUp() override {
    setenv("LANGUAGE", GetParam().code, 1);
    ASSERT_NE(std::setlocale(LC_ALL, "en_US.UTF-8"), nullptr);
    const auto exe = std::filesystem::read_symlink("/proc/self/exe");
    bindtextdomain(SPM_TEXT_DOMAIN, (exe.parent_path() / "../locale").c_str());  // as built
    bind_textdomain_codeset(SPM_TEXT_DOMAIN, "UTF-8");
    textdomain(SPM_TEXT_DOMAIN);
  }
  void TearDown() override {
    unsetenv("LANGUAGE");
    std::setlocale(LC_ALL, "");
  }
};

}  // namespace

// Every window in every language: nothing cut off or pushed out, the main window at its fixed
// size, each window's mnemonics distinct.
TEST_P(Translated, WindowsFitTheirTexts) {
  writeFile("/etc/printcap", "office:lp=/dev/lp0:\nhall:rm=h:rp=q:\n");
  writeFile("/etc/dorvek/thinprint.conf", "/dev/lp0 office\n");
  writeFile(kThinPrintClient, "");
  CommandRecorder swallowed;
  dialogsWalked = 0;
  dialogFaults.clear();
  GtkWidget* window =
      buildMainWindow(PageBuilders{drawprinterlist, drawprintjobs, thinprintpkg, tabpage_switched});
  std::string faults = showAndWalk(window);
  EXPECT_EQ(window->allocation.width, 500);
  EXPECT_EQ(window->allocation.height, 380);
  GtkWidget* notebook = mainNotebookOf(window);
  EXPECT_STREQ(gtk_notebook_get_tab_label_text(GTK_NOTEBOOK(notebook), pageOf(window, 0)),
               GetParam().printersTab);
  for (int page : {2, 1}) {  // the Jobs page stays shown for what follows
    gtk_notebook_set_current_page(GTK_NOTEBOOK(notebook), page);
    faults += showAndWalk(window);
  }
  GtkWidget* jobs = pageOf(window, 1);
  // Each toggle of the Jobs page in its other state too, and its two questions.
  for (int button : {1, 2}) {
    GtkWidget* toggle = findWidget(printerActionRowOf(jobs), nullptr, button);
    gtk_button_set_label(GTK_BUTTON(toggle),
                         gettext(button == 1 ? "Resume Printer" : "Accept Jobs"));
  }
  std::string state;  // about the longest the queue's state line gets
  for (const char* part : {"Printing paused, the current job is finishing", "Not accepting jobs",
                           "Redirected to %s", "Jobs: %d", "%d held"})
    state += gettext(part) + std::string("; ");
  gtk_label_set_text(GTK_LABEL(jobsStateLabelOf(jobs)), state.c_str());
  faults += showAndWalk(window);
  walkDialogOf(findWidget(printerActionRowOf(jobs), nullptr, 3));
  std::array<const gchar*, 7> job{"1", "root", "A", "5", "letter", "10", "12:00"};
  gtk_clist_append(GTK_CLIST(jobTableOf(jobs)), const_cast<gchar**>(job.data()));
  gtk_clist_select_row(GTK_CLIST(jobTableOf(jobs)), 0, 0);  // Move To... asks only for a job
  walkDialogOf(findWidget(jobActionRowOf(jobs), nullptr, 5));
  // The ThinPrint printer editor.
  click(tpAddOf(tpButtonColumnOf(pageOf(window, 2))));
  faults += showAndWalk(editorOf(window));
  gtk_widget_destroy(editorOf(window));
  // The printer editor, in each type's layout, with Find, Browse and a refusal.
  gtk_notebook_set_current_page(GTK_NOTEBOOK(notebook), 0);
  GtkWidget* printers = pageOf(window, 0);
  walkDialogOf(deleteButtonOf(printers));
  click(modifyButtonOf(printers));
  GtkWidget* editor = editorOf(window);
  EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(editor)), GetParam().modifyTitle);
  GtkWidget* box = findWidget(editor, nullptr, 1);
  EXPECT_EQ(entryText(infoFieldOf(printerInfoBoxOf(box), kRowName)), "office");
  for (TypeButton type : {kParallel, kSerial, kUSB, kNetwork, kSamba}) {
    gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(typeButtonOf(printerTypeBoxOf(box), type)),
                                 TRUE);
    faults += showAndWalk(editor);
    if (type == kNetwork) walkDialogOf(findButtonOf(printerInfoBoxOf(box)));
  }
  walkDialogOf(browseButtonOf(printerInfoBoxOf(box)));
  gtk_entry_set_text(GTK_ENTRY(infoFieldOf(printerInfoBoxOf(box), kRowName)), "");
  walkDialogOf(findWidget(editorButtonRowOf(box), nullptr, 1), GTK_RESPONSE_ACCEPT);
  gtk_widget_destroy(editor);
  // Without root, a notice shares the tabs' row.
  ASSERT_EQ(seteuid(65534), 0);
  GtkWidget* readOnly = buildMainWindow(PageBuilders{drawprinterlist});
  ASSERT_EQ(seteuid(0), 0);
  faults += showAndWalk(readOnly);
  EXPECT_EQ(faults + dialogFaults, "");
  EXPECT_EQ(dialogsWalked, 6);  // Redirect, Move To, Delete, Find, Browse and the refusal
  gtk_widget_destroy(readOnly);
  gtk_widget_destroy(window);
}

INSTANTIATE_TEST_SUITE_P(Languages, Translated,
                         testing::Values(Language{"de", "Drucker", "Drucker ändern"},
                                         Language{"fr", "Imprimantes", "Modifier l'imprimante"},
                                         Language{"es", "Impresoras", "Modificar impresora"},
                                         Language{"it", "Stampanti", "Modifica stampante"},
                                         Language{"nl", "Printers", "Printer wijzigen"},
                                         Language{"pl", "Drukarki", "Zmiana ustawień drukarki"},
                                         Language{"pt_BR", "Impressoras", "Modificar impressora"},
                                         Language{"ru", "Принтеры", "Изменение принтера"},
                                         Language{"cs", "Tiskárny", "Úprava tiskárny"},
                                         Language{"sv", "Skrivare", "Ändra skrivare"},
                                         Language{"ja", "プリンタ", "プリンタの変更"},
                                         Language{"zh_CN", "打印机", "修改打印机"}),
                         [](const auto& row) { return std::string(row.param.code); });
