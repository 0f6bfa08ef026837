// The registration request text: pairs of key, "=" and escaped value joined
// by "&", in the iteration order of the maps that hold them.
#ifndef ENROLWIZ_DATA_REQUEST_ENCODING_H
#define ENROLWIZ_DATA_REQUEST_ENCODING_H

#include "data/field_map.h"

// ASCII letters, digits and "_" stay; every other byte becomes "%" and two
// lower-case hexadecimal digits (a blank is "%20", never "+").
CString UrlEncode(const CString& text);

// "key=value&key=value..." of a map in its iteration order, every value
// escaped, an empty value sent as a blank; the empty text for an empty map.
CString buildPairs(const FieldMap& map);

// The whole request text of a Submit: the record's query text, "&", the
// system information, "&", the survey descriptor, whose values are first set
// from the string table (texts 553 to 557).
CString buildRequestText();

#endif
