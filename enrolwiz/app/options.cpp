// The option store.
#include "app/options.h"

#include <cstdlib>

Options& Options::instance()
{
  static Options options;
  return options;
}

Options::Options() : lang_("NotSpecified"), debug_("No"), connect_("Yes"), timeout_("45"), splashDelay_("6") {}

bool Options::set(const CString& name, const CString& value)
{
  struct Slot {
    const char* name;
    CString Options::*value;
  };
  static const Slot slots[] = {
      {"lang", &Options::lang_},       {"debug", &Options::debug_},
      {"connect", &Options::connect_}, {"timeout", &Options::timeout_},
      {"splashdelay", &Options::splashDelay_},
  };
  for (const Slot& slot : slots) {
    if (name.CompareNoCase(slot.name) == 0) {
      this->*slot.value = value;
      return true;
    }
  }
  return false;
}

unsigned int splashDelayMilliseconds(const CString& splashDelay)
{
  // The longest timer of the system (USER_TIMER_MAXIMUM); a product that does
  // not fit an int would otherwise overflow.
  const long long longest = 0x7FFFFFFF;
  long long milliseconds = static_cast<long long>(std::atoi(splashDelay)) * 1000;
  if (milliseconds < 0)
    milliseconds = 0;
  if (milliseconds > longest)
    milliseconds = longest;
  return static_cast<unsigned int>(milliseconds);
}
