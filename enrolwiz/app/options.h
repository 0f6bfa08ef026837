// The option store: the five command-line options of enrolwiz, each a text
// that holds its default from the start of the process until the command line
// replaces it. Readers compare the values ignoring case (the command line
// stores them in lower case).
#ifndef ENROLWIZ_APP_OPTIONS_H
#define ENROLWIZ_APP_OPTIONS_H

#include "framework/cstring.h"

class Options {
public:
  static Options& instance();

  // The defaults: "NotSpecified", "No", "Yes", "45", "6".
  Options();

  CString lang() const { return lang_; }
  CString debug() const { return debug_; }
  CString connect() const { return connect_; }
  CString timeout() const { return timeout_; }
  CString splashDelay() const { return splashDelay_; }

  void setLang(const CString& value) { lang_ = value; }
  void setDebug(const CString& value) { debug_ = value; }
  void setConnect(const CString& value) { connect_ = value; }
  void setTimeout(const CString& value) { timeout_ = value; }
  void setSplashDelay(const CString& value) { splashDelay_ = value; }

  // The option of a name ("lang", "debug", "connect", "timeout",
  // "splashdelay", compared ignoring case, in that order) set to value; false
  // when no option has the name.
  bool set(const CString& name, const CString& value);

private:
  CString lang_;
  CString debug_;
  CString connect_;
  CString timeout_;
  CString splashDelay_;
};

// The "splashdelay" option as a timer's milliseconds: atoi of the text times
// 1000, kept between 0 and the longest timer that the system allows.
unsigned int splashDelayMilliseconds(const CString& splashDelay);

#endif
