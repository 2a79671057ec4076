#pragma once
// The open and save dialogs. Execute hands the dialog to the current file
// dialog service: on screen the toolkit's file chooser, without a display a
// script of answers. The file name is kept between uses: a confirmed dialog
// replaces it, a cancelled one leaves it.

#include <deque>
#include <optional>
#include <vector>

#include "vcl/Classes.h"

namespace vcl {

enum class FileDialogKind { Open, Save };

// A dialog as the program set it up.
struct FileDialogRequest {
  FileDialogKind kind = FileDialogKind::Open;
  String title;
  String filter;  // "description|pattern;pattern|description|pattern"
  String initialDir;
  String fileName;
};

class FileDialogService {
 public:
  virtual ~FileDialogService() = default;
  // Shows the dialog; the chosen path, or nothing when cancelled.
  virtual std::optional<String> Run(const FileDialogRequest& request) = 0;
};

// Answers dialogs from a script, in order, and records every dialog asked
// for. A dialog with no answer left is cancelled.
class ScriptedFileDialogs : public FileDialogService {
 public:
  void Answer(const String& path) { answers_.push_back(path); }
  void Cancel() { answers_.push_back(std::nullopt); }
  std::optional<String> Run(const FileDialogRequest& request) override;
  const std::vector<FileDialogRequest>& Requests() const { return requests_; }

 private:
  std::deque<std::optional<String>> answers_;
  std::vector<FileDialogRequest> requests_;
};

// The service Execute uses; with none installed every dialog is cancelled.
FileDialogService& CurrentFileDialogService();

class ScopedFileDialogService {
 public:
  explicit ScopedFileDialogService(FileDialogService& service);
  ~ScopedFileDialogService();
  ScopedFileDialogService(const ScopedFileDialogService&) = delete;
  ScopedFileDialogService& operator=(const ScopedFileDialogService&) = delete;

 private:
  FileDialogService* previous_;
};

}  // namespace vcl

class TCommonDialog : public TComponent {
 public:
  explicit TCommonDialog(TComponent* owner) : TComponent(owner) {}
  // Shows the dialog (modal); true when the user confirmed it.
  virtual bool Execute() = 0;
};

class TOpenDialog : public TCommonDialog {
 public:
  explicit TOpenDialog(TComponent* owner) : TCommonDialog(owner) {}

  String GetTitle() const { return title_; }
  void SetTitle(const String& title) { title_ = title; }
  String GetFilter() const { return filter_; }
  void SetFilter(const String& filter) { filter_ = filter; }
  String GetFileName() const { return fileName_; }
  void SetFileName(const String& fileName) { fileName_ = fileName; }
  String GetInitialDir() const { return initialDir_; }
  void SetInitialDir(const String& folder) { initialDir_ = folder; }

  Property<TOpenDialog, String, &TOpenDialog::GetTitle, &TOpenDialog::SetTitle> Title{this};
  Property<TOpenDialog, String, &TOpenDialog::GetFilter, &TOpenDialog::SetFilter> Filter{this};
  Property<TOpenDialog, String, &TOpenDialog::GetFileName, &TOpenDialog::SetFileName> FileName{this};
  Property<TOpenDialog, String, &TOpenDialog::GetInitialDir, &TOpenDialog::SetInitialDir>
      InitialDir{this};

  bool Execute() override;

 protected:
  virtual vcl::FileDialogKind Kind() const { return vcl::FileDialogKind::Open; }

 private:
  String title_;
  String filter_;
  String fileName_;
  String initialDir_;
};

class TSaveDialog : public TOpenDialog {
 public:
  explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}

 protected:
  vcl::FileDialogKind Kind() const override { return vcl::FileDialogKind::Save; }
};
