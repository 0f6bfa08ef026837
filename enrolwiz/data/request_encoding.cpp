// The registration request text: escaping, the pairs of a map, the record's
// query text and the whole request of a Submit.
#include "data/request_encoding.h"

#include "data/registration_record.h"
#include "data/system_info.h"
#include "string_ids.h"

CString UrlEncode(const CString& text)
{
  static const char digits[] = "0123456789abcdef";
  CString encoded;
  for (int i = 0; i < text.GetLength(); i++) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    if (plain) {
      encoded += static_cast<char>(c);
    } else {
      encoded += '%';
      encoded += digits[c >> 4];
      encoded += digits[c & 0x0F];
    }
  }
  return encoded;
}

CString buildPairs(const FieldMap& map)
{
  CString text;
  CString key, value;
  bool first = true;
  for (POSITION p = map.GetStartPosition(); p;) {
    map.GetNextAssoc(p, key, value);
    if (!first)
      text += '&';
    first = false;
    text += key;
    text += '=';
    text += UrlEncode(value.IsEmpty() ? CString(" ") : value);
  }
  return text;
}

CString RegistrationRecord::buildQuery()
{
  CString query = buildPairs(fields_);
  query += "&q7=" + UrlEncode(" ");
  query += "&q14=" + UrlEncode(loadText(IDS_VERSION));
  setQueryText(query);
  return query;
}

CString buildRequestText()
{
  SurveyDescriptor& survey = SurveyDescriptor::instance();
  survey.setCampaign(loadText(IDS_SURVEY_CAMPAIGN));
  survey.setService(loadText(IDS_SURVEY_SERVICE));
  survey.setMethod(loadText(IDS_SURVEY_METHOD));
  survey.setSurveyId(loadText(IDS_SURVEY_ID));
  survey.setNumOfQuestions(loadText(IDS_SURVEY_QUESTIONS));
  CString request = RegistrationRecord::instance().buildQuery();
  request += "&" + SystemInfo::instance().buildText();
  request += "&" + survey.buildText();
  return request;
}
