// Faults of the system for the GUI tests: a read-only or full /etc, tools gone, and a log of
// every dialog the program shows.
#pragma once

#include <dirent.h>
#include <gtk/gtk.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

// A death test's child keeps its mounts to itself.
inline bool privateMounts() {
  return unshare(CLONE_NEWNS) == 0 && mount("none", "/", "none", MS_REC | MS_PRIVATE, nullptr) == 0;
}

// /etc read-only, or full: a 64 KiB tmpfs, filled up, takes every write made in /etc.
// Undone when destroyed.
class BrokenEtc {
 public:
  enum Kind { kReadOnly, kFull };
  explicit BrokenEtc(Kind kind) {
    if (kind == kReadOnly) {
      etcMounted_ = mount("/etc", "/etc", "none", MS_BIND, nullptr) == 0;
      ok_ = etcMounted_ &&
            mount("none", "/etc", "none", MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
      return;
    }
    mkdir(kScratch, 0700);
    scratchMounted_ = mount("tmpfs", kScratch, "tmpfs", 0, "size=64k") == 0;
    etcMounted_ =
        scratchMounted_ && mkdir("/run/full-etc/upper", 0755) == 0 &&
        mkdir("/run/full-etc/work", 0755) == 0 &&
        mount("overlay", "/etc", "overlay", 0,
              "lowerdir=/etc,upperdir=/run/full-etc/upper,workdir=/run/full-etc/work") == 0;
    ok_ = etcMounted_;
    if (FILE* filler = ok_ ? std::fopen("/etc/.filler", "w") : nullptr) {
      const std::string block(4096, 'x');
      while (std::fwrite(block.data(), 1, block.size(), filler) == block.size()) {
      }
      std::fclose(filler);
    }
  }
  // Only what was mounted here is undone: unmounting /etc blindly could uncover the /etc
  // beneath the sandbox's.
  ~BrokenEtc() {
    if (etcMounted_) umount2("/etc", MNT_DETACH);
    if (scratchMounted_) umount2(kScratch, MNT_DETACH);
  }
  BrokenEtc(const BrokenEtc&) = delete;
  BrokenEtc& operator=(const BrokenEtc&) = delete;
  bool ok() const { return ok_; }

 private:
  static constexpr const char* kScratch = "/run/full-etc";
  bool ok_ = false;
  bool etcMounted_ = false;
  bool scratchMounted_ = false;
};

// Tools moved aside inside the sandbox's overlay, and back when destroyed.
class ToolsGone {
 public:
  explicit ToolsGone(std::vector<std::string> paths) : paths_(std::move(paths)) {
    for (const std::string& path : paths_) std::rename(path.c_str(), (path + ".gone").c_str());
  }
  ~ToolsGone() {
    for (const std::string& path : paths_) std::rename((path + ".gone").c_str(), path.c_str());
  }
  ToolsGone(const ToolsGone&) = delete;
  ToolsGone& operator=(const ToolsGone&) = delete;

 private:
  std::vector<std::string> paths_;
};

// Answers every dialog with its first response as soon as it shows; text() gives
// "title: message" of each, one per line.
class DialogLog {
 public:
  DialogLog() : source_(g_timeout_add(10, &DialogLog::tick, this)) {}
  ~DialogLog() { g_source_remove(source_); }
  DialogLog(const DialogLog&) = delete;
  DialogLog& operator=(const DialogLog&) = delete;
  const std::string& text() const { return text_; }

 private:
  static void firstLabel(GtkWidget* widget, gpointer data) {
    auto* text = static_cast<std::string*>(data);
    if (!text->empty() || GTK_IS_BUTTON(widget)) return;
    if (GTK_IS_LABEL(widget)) {
      *text = gtk_label_get_text(GTK_LABEL(widget));
    } else if (GTK_IS_CONTAINER(widget)) {
      gtk_container_foreach(GTK_CONTAINER(widget), firstLabel, data);
    }
  }
  static gboolean tick(gpointer self) {
    auto* log = static_cast<DialogLog*>(self);
    GList* windows = gtk_window_list_toplevels();
    for (GList* w = windows; w != nullptr; w = w->next) {
      GtkWidget* dialog = GTK_WIDGET(w->data);
      if (!GTK_IS_DIALOG(dialog) || !gtk_widget_get_visible(dialog) ||
          g_object_get_data(G_OBJECT(dialog), "answered") != nullptr) {
        continue;
      }
      std::string message;
      firstLabel(GTK_DIALOG(dialog)->vbox, &message);
      log->text_ += std::string(gtk_window_get_title(GTK_WINDOW(dialog))) + ": " + message + "\n";
      g_object_set_data(G_OBJECT(dialog), "answered", dialog);
      gtk_dialog_response(GTK_DIALOG(dialog), GTK_RESPONSE_ACCEPT);
    }
    g_list_free(windows);
    return TRUE;
  }
  guint source_;
  std::string text_;
};

// Temporary files of replacements (".NAME.XXXXXX") left in the folders of the system files.
inline int strayTemps() {
  int count = 0;
  for (const char* folder : {"/etc", "/etc/dorvek", "/etc/dorvek/samba", "/etc/init.d"}) {
    DIR* dir = opendir(folder);
    if (dir == nullptr) continue;
    while (const struct dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      const auto dot = name.rfind('.');
      if (name[0] == '.' && dot > 0 && name.size() - dot == 7) ++count;
    }
    closedir(dir);
  }
  return count;
}
