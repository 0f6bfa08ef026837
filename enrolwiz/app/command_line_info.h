// WizardCommandLineInfo: the argument pass of enrolwiz. Switches
// (/name=value or -name=value) go to the option store, plain arguments form
// the product list, which the final argument writes to the registry.
#ifndef ENROLWIZ_APP_COMMAND_LINE_INFO_H
#define ENROLWIZ_APP_COMMAND_LINE_INFO_H

#include "framework/collections.h"
#include "framework/command_line.h"

class Options;

class WizardCommandLineInfo : public CCommandLineInfo {
public:
  explicit WizardCommandLineInfo(Options& options);

  // Never the base class's: the framework's own switches are not recognised.
  void ParseParam(const char* param, BOOL flag, BOOL last) override;

  const CStringList& products() const { return products_; }

private:
  void parseSwitch(const CString& text);

  Options& options_;
  CStringList products_;
};

// Writes the product list into the active brand's registry section:
// "prodName" the first product, "prod1", "prod2", ... the others, then
// "numOfProds" their count. An empty list writes nothing.
void writeProductList(const CStringList& products);

#endif
