#include "vcl/Dialogs.h"

namespace vcl {
namespace {

class CancellingFileDialogs : public FileDialogService {
 public:
  std::optional<String> Run(const FileDialogRequest&) override { return std::nullopt; }
};

CancellingFileDialogs cancellingService;
FileDialogService* currentService = &cancellingService;

}  // namespace

std::optional<String> ScriptedFileDialogs::Run(const FileDialogRequest& request) {
  requests_.push_back(request);
  if (answers_.empty()) return std::nullopt;
  std::optional<String> answer = answers_.front();
  answers_.pop_front();
  return answer;
}

FileDialogService& CurrentFileDialogService() { return *currentService; }

ScopedFileDialogService::ScopedFileDialogService(FileDialogService& service)
    : previous_(currentService) {
  currentService = &service;
}

ScopedFileDialogService::~ScopedFileDialogService() { currentService = previous_; }

}  // namespace vcl

bool TOpenDialog::Execute() {
  const vcl::FileDialogRequest request{Kind(), title_, filter_, initialDir_, fileName_};
  const std::optional<String> chosen = vcl::CurrentFileDialogService().Run(request);
  if (!chosen) return false;
  fileName_ = *chosen;
  return true;
}
