#include "texts/ts_catalogue.h"

#include <string_view>

namespace {

// The XML entities lupdate writes.
std::string Unescape(std::string_view text) {
  static const std::pair<std::string_view, char> kEntities[] = {
      {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&apos;", '\''}, {"&quot;", '"'}};
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    bool replaced = false;
    if (text[i] == '&')
      for (const auto& [entity, c] : kEntities)
        if (text.substr(i, entity.size()) == entity) {
          out += c;
          i += entity.size();
          replaced = true;
          break;
        }
    if (!replaced) out += text[i++];
  }
  return out;
}

// The text between `open` (a tag's start, up to its '>') and `close` from
// `at`, which moves past it; false when there is none before `end`.
bool Element(std::string_view xml, std::string_view open, std::string_view close, std::size_t& at,
             std::size_t end, std::string& text, std::string_view& attributes) {
  const std::size_t start = xml.find(open, at);
  if (start == std::string_view::npos || start >= end) return false;
  const std::size_t body = xml.find('>', start);
  const std::size_t stop = xml.find(close, body);
  if (body == std::string_view::npos || stop == std::string_view::npos || stop > end) return false;
  attributes = xml.substr(start + open.size(), body - start - open.size());
  text = Unescape(xml.substr(body + 1, stop - body - 1));
  at = stop + close.size();
  return true;
}

} // namespace

bool ReadCatalogue(const std::string& ts, const std::string& context, TCatalogue& catalogue) {
  const std::string_view xml(ts);
  const std::string name = "<name>" + context + "</name>";
  const std::size_t begin = xml.find(name);
  if (begin == std::string_view::npos) return false;
  std::size_t end = xml.find("</context>", begin);
  if (end == std::string_view::npos) end = xml.size();
  std::size_t at = begin;
  std::string source, translation;
  std::string_view attributes;
  while (Element(xml, "<source", "</source>", at, end, source, attributes)) {
    if (!Element(xml, "<translation", "</translation>", at, end, translation, attributes)) break;
    if (attributes.find("unfinished") == std::string_view::npos && !translation.empty())
      catalogue[source] = translation;
  }
  return true;
}

std::string Translated(const TCatalogue& catalogue, const std::string& source) {
  const auto it = catalogue.find(source);
  return it == catalogue.end() ? source : it->second;
}
