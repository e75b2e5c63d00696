#include "compiler/exception.h"

Exception::Exception(unsigned long line, unsigned long column, const ErrorType& type,
                     const std::string& text)
    : m_line(line), m_column(column), m_type(type), m_text(text) {}

void Exception::ThrowException(unsigned long line, unsigned long column,
                               const std::string& text, const ErrorType& type) {
  throw Exception(line, column, type, text);
}

std::string Exception::ToString() const {
  // Texts are inserted as they are: the report format has no escaping.
  std::string out = "{ \"line\" : ";
  out += std::to_string(m_line);
  out += ", \"column\" : ";
  out += std::to_string(m_column);
  out += ", \"err_code\" : ";
  out += std::to_string(m_type.code);
  out += ", \"err_exp\" : \"";
  out += m_type.text;
  out += "\", \"desc\" : \"";
  out += m_text;
  out += "\" }";
  return out;
}
