#pragma once
// A shown test form on a headless desktop, and a log of the events fired.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestForm.h"
#include "vcl/Headless.h"
#include "vcl/User.h"

using Log = std::vector<std::string>;

class FormTest : public ::testing::Test {
 protected:
  FormTest() {
    Application->CreateForm(&form);
    form->Show();
  }

  // A handler that writes an entry into the log.
  TNotifyEvent Record(const std::string& entry) {
    return [this, entry](TObject*) { log.push_back(entry); };
  }

  const std::vector<MessageRecord>& Boxes() const { return desktop.messages.Boxes(); }

  vcl::HeadlessDesktop desktop;
  TestForm* form = nullptr;
  Log log;
};
