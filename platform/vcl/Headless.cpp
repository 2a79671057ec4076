#include "vcl/Headless.h"

namespace vcl {

HeadlessDesktop::HeadlessDesktop() : application_(std::make_unique<TApplication>()) {}

// The forms go first, while the services they may still call are installed.
HeadlessDesktop::~HeadlessDesktop() { application_.reset(); }

}  // namespace vcl
