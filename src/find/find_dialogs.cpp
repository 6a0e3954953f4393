#include "find/find_dialogs.h"

#include <memory>
#include <vector>

#include "app/i18n.h"
#include "app/widgets.h"
#include "find/dnssd.h"
#include "find/lpd_probe.h"

namespace {

// Both dialogs: modal to the editor, "_Cancel" and "_Ok" (only with a row chosen).
GtkWidget* newFindDialog(GtkWidget* editorWindow, const std::string& title, int width) {
  GtkWidget* dialog = gtk_dialog_new_with_buttons(
      title.c_str(), GTK_WINDOW(editorWindow),
      static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT), _("_Cancel"),
      GTK_RESPONSE_REJECT, _("_Ok"), GTK_RESPONSE_ACCEPT, nullptr);
  gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER_ON_PARENT);
  gtk_window_set_default_size(GTK_WINDOW(dialog), width, -1);  // the list's columns, whole
  gtk_dialog_set_response_sensitive(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT, FALSE);
  return dialog;
}

void packList(GtkWidget* dialog, std::initializer_list<std::pair<const char*, int>> columns) {
  GtkWidget* list = gtk_clist_new(static_cast<gint>(columns.size()));
  int index = 0;
  for (const auto& [title, width] : columns)
    addPlistCol(index++, width, title, list, 1, GTK_JUSTIFY_LEFT);
  GtkWidget* scrolled = scrolledBrowseList(list, G_CALLBACK(foundList_select_row), dialog);
  gtk_widget_set_size_request(scrolled, -1, 160);
  gtk_box_pack_start(GTK_BOX(GTK_DIALOG(dialog)->vbox), scrolled, TRUE, TRUE, 5);
  GtkWidget* status = gtk_label_new("");
  gtk_misc_set_alignment(GTK_MISC(status), 0, 0.5);
  gtk_label_set_line_wrap(GTK_LABEL(status), TRUE);
  // A wrapped label asks for little width; give it the dialog's, less the margins.
  int width = 0;
  gtk_window_get_default_size(GTK_WINDOW(dialog), &width, nullptr);
  gtk_widget_set_size_request(status, width - 20, -1);
  gtk_box_pack_start(GTK_BOX(GTK_DIALOG(dialog)->vbox), status, FALSE, FALSE, 5);
}

void addRow(GtkWidget* list, std::vector<std::string> cells) {
  std::vector<gchar*> texts;
  for (std::string& cell : cells) texts.push_back(cell.data());
  gtk_clist_append(GTK_CLIST(list), texts.data());
}

// A row chosen with "_Ok" gives its cells; anything else none.
std::vector<std::string> runForChoice(GtkWidget* dialog) {
  gtk_widget_show_all(dialog);
  const gint response = gtk_dialog_run(GTK_DIALOG(dialog));
  GtkWidget* list = foundListOf(dialog);
  std::vector<std::string> cells;
  if (response == GTK_RESPONSE_ACCEPT && GTK_CLIST(list)->selection != nullptr) {
    const int row = GPOINTER_TO_INT(GTK_CLIST(list)->selection->data);
    for (int column = 0; column < GTK_CLIST(list)->columns; ++column)
      cells.push_back(clistCell(list, row, column));
  }
  return cells;
}

// What one Find dialog has running; lives as long as the dialog runs.
struct FindSession {
  GtkWidget* dialog = nullptr;
  DnssdSearch* dnssd = nullptr;
  LpdProbe* probe = nullptr;
  std::string dnssdStatus, hostStatus;

  ~FindSession() {
    if (probe != nullptr) cancelLpdProbe(probe);
    if (dnssd != nullptr) stopDnssdSearch(dnssd);
  }
  void showStatus() const {
    const std::string both =
        dnssdStatus + (dnssdStatus.empty() || hostStatus.empty() ? "" : "\n") + hostStatus;
    gtk_label_set_text(GTK_LABEL(findStatusOf(dialog)), both.c_str());
  }
  void addPrinter(const std::string& host, const std::string& queue, const std::string& how) {
    GtkWidget* list = foundListOf(dialog);
    for (int row = 0; row < clistRows(list); ++row)
      if (clistCell(list, row, 0) == host && clistCell(list, row, 1) == queue) return;
    addRow(list, {host, queue, how});
  }
  void startDnssd();
  void askHost(const std::string& host);
};

std::string dnssdOutcomeText(DnssdOutcome outcome) {
  switch (outcome) {
    case DnssdOutcome::kFound:
      return _("Printers that announce themselves are listed.");
    case DnssdOutcome::kNothingFound:
      return _("No printer announces itself on the local network.");
    case DnssdOutcome::kNoDaemon:
      return _("Printers that announce themselves need the Avahi daemon (avahi-daemon)");
    case DnssdOutcome::kNoModule:
      break;
  }
  return formatted(_("Printers that announce themselves cannot be looked for: %s"),
                   dnssdModuleError());
}

void FindSession::startDnssd() {
  dnssdStatus = _("Looking for printers that announce themselves...");
  dnssd = startDnssdSearch(
      {[this](const AnnouncedPrinter& p) {
         addPrinter(p.address, p.queue,
                    formatted(_("announced as \"%s\" by %s"), p.name, p.hostName));
         if (dnssdStatus == _("No printer announces itself on the local network.")) {
           dnssdStatus = _("Printers that announce themselves are listed.");
           showStatus();
         }
       },
       [this](DnssdOutcome outcome) {
         dnssdStatus = dnssdOutcomeText(outcome);
         showStatus();
       }});
  showStatus();
}

std::string lpdOutcomeText(LpdOutcome outcome, const std::string& host, const std::string& reason) {
  switch (outcome) {
    case LpdOutcome::kFound:
      return formatted(_("The queues of %s are listed."), host);
    case LpdOutcome::kNothingFound:
      return formatted(_("No queue found on %s."), host);
    case LpdOutcome::kUnknownHost:
      return formatted(_("The host %s is unknown."), host);
    case LpdOutcome::kNotAnswering:
      return formatted(_("The host %s does not answer."), host);
    case LpdOutcome::kNoLpd:
      return formatted(_("No LPD server answers on %s."), host);
    case LpdOutcome::kRefused:
      break;
  }
  return formatted(_("%s refuses to answer: %s"), host, reason);
}

void FindSession::askHost(const std::string& host) {
  if (probe != nullptr) cancelLpdProbe(probe);
  probe = nullptr;
  if (!plausibleHost(host)) {
    hostStatus = host.empty() ? "" : formatted(_("'%s' is not a host name or address."), host);
    showStatus();
    return;
  }
  hostStatus = formatted(_("Asking %s for its queues..."), host);
  probe = startLpdProbe(host, {[this, host](const std::string& queue) {
                                 addPrinter(host, queue, _("the host's LPD server"));
                               },
                               [this, host](LpdOutcome outcome, const std::string& reason) {
                                 probe = nullptr;
                                 hostStatus = lpdOutcomeText(outcome, host, reason);
                                 showStatus();
                               }});
  showStatus();
}

FindSession* sessionOf(GtkWidget* dialog) {
  return static_cast<FindSession*>(g_object_get_data(G_OBJECT(dialog), "find-session"));
}

void packHostRow(GtkWidget* dialog, const std::string& host) {
  GtkWidget* row = gtk_hbox_new(FALSE, 5);
  GtkWidget* entry = singleLineEntry();
  gtk_entry_set_text(GTK_ENTRY(entry), host.c_str());
  g_signal_connect(entry, "activate", G_CALLBACK(entryHost_activate), dialog);
  GtkWidget* search = gtk_button_new_with_mnemonic(_("_Search"));
  g_signal_connect(search, "clicked", G_CALLBACK(buttonSearch_clicked), dialog);
  gtk_box_pack_start(GTK_BOX(row), gtk_label_new(_("Host:")), FALSE, FALSE, 5);
  gtk_box_pack_start(GTK_BOX(row), entry, TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(row), search, FALSE, FALSE, 5);
  gtk_box_pack_start(GTK_BOX(GTK_DIALOG(dialog)->vbox), row, FALSE, FALSE, 5);
}

std::string browseOutcomeText(BrowseOutcome outcome, const ShareQuestion& question,
                              const ShareListing& listing) {
  const std::string& server = question.server;
  switch (outcome) {
    case BrowseOutcome::kListed:
      return formatted(listing.printers.empty() ? _("%s shares no printer.")
                                                : _("The printer shares of %s are listed."),
                       server);
    case BrowseOutcome::kUnknownHost:
      return formatted(_("The host %s is unknown."), server);
    case BrowseOutcome::kNotAnswering:
      return formatted(_("The host %s does not answer."), server);
    case BrowseOutcome::kDenied:
      return formatted(_("%s refused access: %s"), server, listing.reason);
    case BrowseOutcome::kNoServer:
      return formatted(_("No Samba server answers on %s."), server);
    case BrowseOutcome::kFailed:
      break;
  }
  return listing.reason.empty() ? formatted(_("smbclient could not list the shares of %s."), server)
                                : formatted(_("%s could not be asked: %s"), server, listing.reason);
}

}  // namespace

// Content box > child 2 (scrolled window) > list.
GtkWidget* foundListOf(GtkWidget* dialog) {
  return widgetAt(GTK_DIALOG(dialog)->vbox, {2, 1});
}

// Content box > child 3.
GtkWidget* findStatusOf(GtkWidget* dialog) {
  return findWidget(GTK_DIALOG(dialog)->vbox, nullptr, 3);
}

// Content box > child 1 (host row) > child 2.
GtkWidget* findHostEntryOf(GtkWidget* dialog) {
  return widgetAt(GTK_DIALOG(dialog)->vbox, {1, 2});
}

// Content box > child 1 (host row) > child 3.
GtkWidget* findSearchButtonOf(GtkWidget* dialog) {
  return widgetAt(GTK_DIALOG(dialog)->vbox, {1, 3});
}

bool findNetworkPrinter(GtkWidget* editorWindow, const std::string& host, FoundPrinter* chosen) {
  GtkWidget* dialog = newFindDialog(editorWindow, _("Find Network Printers"), 580);
  FindSession session;
  session.dialog = dialog;
  g_object_set_data(G_OBJECT(dialog), "find-session", &session);
  packHostRow(dialog, host);
  packList(dialog, {{_("Host"), 110}, {_("Queue"), 90}, {_("Found by"), 340}});
  session.startDnssd();
  session.askHost(host);
  const std::vector<std::string> cells = runForChoice(dialog);
  gtk_widget_destroy(dialog);
  if (cells.empty()) return false;
  *chosen = {cells[0], cells[1]};
  return true;
}

bool browsePrinterShares(GtkWidget* editorWindow, const ShareQuestion& question,
                         std::string* share) {
  GtkWidget* dialog =
      newFindDialog(editorWindow, formatted(_("Printer Shares on %s"), question.server), 440);
  GtkWidget* asked = gtk_label_new(
      question.user.empty() ? _("Asked as a guest.")
                            : formatted(_("Asked as the user %s."), question.user).c_str());
  gtk_misc_set_alignment(GTK_MISC(asked), 0, 0.5);
  gtk_box_pack_start(GTK_BOX(GTK_DIALOG(dialog)->vbox), asked, FALSE, FALSE, 5);
  packList(dialog, {{_("Share"), 140}, {_("Comment"), 260}});
  GtkWidget* status = findStatusOf(dialog);
  ShareBrowse* browse = nullptr;
  if (!plausibleHost(question.server)) {
    gtk_label_set_text(
        GTK_LABEL(status),
        question.server.empty()
            ? _("Type the name or address of the Samba server first.")
            : formatted(_("'%s' is not a host name or address."), question.server).c_str());
  } else {
    gtk_label_set_text(
        GTK_LABEL(status),
        formatted(_("Asking %s for its printer shares..."), question.server).c_str());
    browse = startShareBrowse(question, {[&](BrowseOutcome outcome, const ShareListing& listing) {
                                browse = nullptr;
                                for (const PrinterShare& found : listing.printers)
                                  addRow(foundListOf(dialog), {found.name, found.comment});
                                gtk_label_set_text(
                                    GTK_LABEL(status),
                                    browseOutcomeText(outcome, question, listing).c_str());
                              }});
  }
  const std::vector<std::string> cells = runForChoice(dialog);
  if (browse != nullptr) cancelShareBrowse(browse);
  gtk_widget_destroy(dialog);
  if (cells.empty()) return false;
  *share = cells[0];
  return true;
}

void buttonSearch_clicked(GtkWidget* /*widget*/, gpointer data) {
  GtkWidget* dialog = static_cast<GtkWidget*>(data);
  sessionOf(dialog)->askHost(entryText(findHostEntryOf(dialog)));
}

void entryHost_activate(GtkWidget* widget, gpointer data) {
  buttonSearch_clicked(widget, data);
}

void foundList_select_row(GtkWidget* /*widget*/, gint /*row*/, gint /*column*/, GdkEvent* /*event*/,
                          gpointer data) {
  gtk_dialog_set_response_sensitive(GTK_DIALOG(data), GTK_RESPONSE_ACCEPT, TRUE);
}
