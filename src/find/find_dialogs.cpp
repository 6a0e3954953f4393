#include "find/find_dialogs.h"

#include <algorithm>
#include <map>
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
  // The last column says why a row cannot be chosen: whole, the list scrolls sideways for it.
  gtk_clist_set_column_auto_resize(GTK_CLIST(list), index - 1, TRUE);
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

// A row that cannot be chosen is greyed and not selectable; its last cell says why.
int addRow(GtkWidget* list, std::vector<std::string> cells, bool usable = true) {
  std::vector<gchar*> texts;
  for (std::string& cell : cells) texts.push_back(cell.data());
  const int row = gtk_clist_append(GTK_CLIST(list), texts.data());
  if (!usable) {
    gtk_clist_set_selectable(GTK_CLIST(list), row, FALSE);
    gtk_clist_set_foreground(GTK_CLIST(list), row, &list->style->fg[GTK_STATE_INSENSITIVE]);
  }
  return row;
}

// A row chosen with "_Ok" gives its cells; anything else none.
std::vector<std::string> runForChoice(GtkWidget* dialog) {
  gtk_widget_show_all(dialog);
  const gint response = gtk_dialog_run(GTK_DIALOG(dialog));
  GtkWidget* list = foundListOf(dialog);
  std::vector<std::string> cells;
  const int row = GTK_CLIST(list)->selection != nullptr
                      ? GPOINTER_TO_INT(GTK_CLIST(list)->selection->data)
                      : -1;
  // A row that cannot be chosen is never taken, however it came to be selected.
  if (response == GTK_RESPONSE_ACCEPT && row >= 0 &&
      gtk_clist_get_selectable(GTK_CLIST(list), row)) {
    for (int column = 0; column < GTK_CLIST(list)->columns; ++column)
      cells.push_back(clistCell(list, row, column));
  }
  return cells;
}

// One printer announced on the network, however many ways: its row is keyed by this.
struct Announced {
  std::string name, hostName, address;
  bool lpd = false;
  std::string queue;  // LPD: "rp" (empty: none); otherwise the guess, then what the probe found
  LpdProbe* probe = nullptr;
  bool probed = false;
  std::vector<std::string> probedQueues;
};

// What one Find dialog has running; lives as long as the dialog runs.
struct FindSession {
  GtkWidget* dialog = nullptr;
  DnssdSearch* dnssd = nullptr;
  bool dnssdFinished = false;
  LpdProbe* probe = nullptr;
  std::map<std::string, Announced> announced;  // by name and host name
  std::string dnssdStatus, hostStatus;

  ~FindSession() {
    if (probe != nullptr) cancelLpdProbe(probe);
    for (auto& [key, printer] : announced)
      if (printer.probe != nullptr) cancelLpdProbe(printer.probe);
    if (dnssd != nullptr) stopDnssdSearch(dnssd);
  }
  int probesRunning() const {
    int running = 0;
    for (const auto& [key, printer] : announced) running += printer.probe != nullptr ? 1 : 0;
    return running;
  }
  void showStatus() const {
    const std::string announcing =
        dnssdFinished && probesRunning() > 0
            ? _("Asking the announced printers whether they take LPD jobs...")
            : dnssdStatus;
    const std::string both =
        announcing + (announcing.empty() || hostStatus.empty() ? "" : "\n") + hostStatus;
    gtk_label_set_text(GTK_LABEL(findStatusOf(dialog)), both.c_str());
  }
  int rowOf(const Announced* printer) const {
    return gtk_clist_find_row_from_data(GTK_CLIST(foundListOf(dialog)),
                                        const_cast<Announced*>(printer));
  }
  // Another row with this host and queue (a typed host's), or -1.
  int otherRow(const std::string& host, const std::string& queue, const Announced* except) const {
    GtkWidget* list = foundListOf(dialog);
    for (int row = 0; row < clistRows(list); ++row)
      if (clistCell(list, row, 0) == host && clistCell(list, row, 1) == queue &&
          gtk_clist_get_row_data(GTK_CLIST(list), row) != except)
        return row;
    return -1;
  }
  void addPrinter(const std::string& host, const std::string& queue, const std::string& how) {
    if (otherRow(host, queue, nullptr) < 0) addRow(foundListOf(dialog), {host, queue, how, ""});
  }
  void showAnnounced(Announced* printer);
  void announce(const AnnouncedPrinter& found);
  void probeAnnounced(Announced* printer);
  void startDnssd();
  void askHost(const std::string& host);
};

// The row of an announced printer, in place of the one it had and of a typed host's row for
// the same queue: one row per printer.
void FindSession::showAnnounced(Announced* printer) {
  GtkWidget* list = foundListOf(dialog);
  std::string queue = printer->queue, note;
  bool usable = true;
  if (printer->lpd && queue.empty()) {
    queue = "lp";  // what RFC 1179 printers take
    note = _("\"lp\" assumed: the announcement names no queue");
  } else if (!printer->lpd && !printer->probed) {
    usable = false;
    note = _("Asking whether it takes LPD jobs...");
  } else if (!printer->lpd && queue.empty()) {
    usable = false;
    note = _("Takes no LPD jobs");
  }
  gtk_clist_freeze(GTK_CLIST(list));
  for (int row = rowOf(printer); row >= 0; row = rowOf(printer))
    gtk_clist_remove(GTK_CLIST(list), row);
  if (usable) {
    for (int row = otherRow(printer->address, queue, printer); row >= 0;
         row = otherRow(printer->address, queue, printer))
      gtk_clist_remove(GTK_CLIST(list), row);
  }
  const int row =
      addRow(list,
             {printer->address, usable ? queue : "",
              // TRANSLATORS: a cell under "Found by": the first %s is the name the printer
              // announces as a service, the second the host that announced it.
              formatted(_("announced as \"%s\" by %s"), printer->name, printer->hostName), note},
             usable);
  gtk_clist_set_row_data(GTK_CLIST(list), row, printer);
  gtk_clist_thaw(GTK_CLIST(list));
}

void FindSession::announce(const AnnouncedPrinter& found) {
  Announced& printer = announced[found.name + "\n" + found.hostName];
  if (printer.name.empty()) printer = {found.name, found.hostName, found.address};
  if (found.lpd) {
    // Its own LPD announcement names the queue: no guessing.
    if (printer.probe != nullptr) cancelLpdProbe(printer.probe);
    printer.probe = nullptr;
    printer.lpd = true;
    printer.queue = found.queue;
  } else if (!printer.lpd && !printer.probed) {
    if (printer.queue.empty()) printer.queue = found.queue;
    if (printer.probe == nullptr) probeAnnounced(&printer);
  }
  showAnnounced(&printer);
  if (dnssdStatus == _("No printer announces itself on the local network.")) {
    dnssdStatus = _("Printers that announce themselves are listed.");
  }
  showStatus();
}

// A printer announced only over IPP or raw printing may still take LPD jobs: its host is asked.
// The queue is the one its announcement hints at when the host has it, else the first found.
void FindSession::probeAnnounced(Announced* printer) {
  printer->probe = startLpdProbe(
      printer->address,
      {[printer](const std::string& queue) { printer->probedQueues.push_back(queue); },
       [this, printer](LpdOutcome, const std::string&) {
         printer->probe = nullptr;
         printer->probed = true;
         const auto& queues = printer->probedQueues;
         if (std::find(queues.begin(), queues.end(), printer->queue) == queues.end())
           printer->queue = queues.empty() ? "" : queues.front();
         showAnnounced(printer);
         showStatus();
       }});
}

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
  dnssd = startDnssdSearch({[this](const AnnouncedPrinter& found) { announce(found); },
                            [this](DnssdOutcome outcome) {
                              dnssdFinished = true;
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
  // TRANSLATORS: %s is the host, then the reason its server gave, in its own words.
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
                                 // TRANSLATORS: a cell under "Found by": the LPD server of the host
                                 // that was typed listed this queue.
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
  // TRANSLATORS: a verb: ask the host that was typed for its queues.
  GtkWidget* search = gtk_button_new_with_mnemonic(_("_Search"));
  g_signal_connect(search, "clicked", G_CALLBACK(buttonSearch_clicked), dialog);
  gtk_box_pack_start(GTK_BOX(row), gtk_label_new(_("Host:")), FALSE, FALSE, 5);
  gtk_box_pack_start(GTK_BOX(row), entry, TRUE, TRUE, 0);
  gtk_box_pack_start(GTK_BOX(row), search, FALSE, FALSE, 5);
  gtk_box_pack_start(GTK_BOX(GTK_DIALOG(dialog)->vbox), row, FALSE, FALSE, 5);
}

// Every share is listed; one the editor would refuse says why and cannot be chosen.
void addShareRow(GtkWidget* list, const PrinterShare& share) {
  std::string why;
  switch (shareNameFault(share.name)) {
    case ShareNameFault::kNone:
    case ShareNameFault::kEmpty:  // not listed by smbclient
      break;
    case ShareNameFault::kBlank:
      why = _("The name holds a space; rename the share on the server");
      break;
    case ShareNameFault::kControl:
      why = _("The name holds a control character; rename the share on the server");
      break;
  }
  addRow(list, {share.name, share.comment, why}, why.empty());
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
  GtkWidget* dialog = newFindDialog(editorWindow, _("Find Network Printers"), 740);
  FindSession session;
  session.dialog = dialog;
  g_object_set_data(G_OBJECT(dialog), "find-session", &session);
  packHostRow(dialog, host);
  packList(dialog, {// TRANSLATORS: column title: the host the printer was found on.
                    {_("Host"), 100},
                    // TRANSLATORS: column title: the name of an LPD queue on that host.
                    {_("Queue"), 80},
                    // TRANSLATORS: column title: how the printer was found (asked directly or
                    // announced on the network).
                    {_("Found by"), 250},
                    // TRANSLATORS: column title: why a row cannot be chosen, or what was
                    // assumed for it.
                    {_("Note"), 260}});
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
      newFindDialog(editorWindow, formatted(_("Printer Shares on %s"), question.server), 620);
  GtkWidget* asked = gtk_label_new(
      question.user.empty() ? _("Asked as a guest.")
                            : formatted(_("Asked as the user %s."), question.user).c_str());
  gtk_misc_set_alignment(GTK_MISC(asked), 0, 0.5);
  gtk_box_pack_start(GTK_BOX(GTK_DIALOG(dialog)->vbox), asked, FALSE, FALSE, 5);
  packList(dialog, {// TRANSLATORS: column title: the name of a printer share (a noun).
                    {_("Share"), 140},
                    // TRANSLATORS: column title: the comment the server gives for the share.
                    {_("Comment"), 200},
                    {_("Note"), 260}});
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
                                  addShareRow(foundListOf(dialog), found);
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
