#pragma once

// Helpers for front-end tests: run the three compile stages on a text,
// print tokens and trees in a compact one-line form, and build the expected
// error report by hand.

#include <memory>
#include <string>

#include "compiler/ast_node.h"
#include "compiler/exception.h"
#include "compiler/lexer.h"
#include "compiler/parse_walker.h"
#include "compiler/parser.h"
#include "compiler/token_reader.h"

// "State text@line:column" for every token, separated by " | ".
inline std::string TokenList(const std::string& text) {
  Lexer lexer;
  TokenReader reader = lexer.Tokenize(text);
  std::string out;
  for (const Token& token : reader.Tokens()) {
    if (!out.empty()) out += " | ";
    out += token.ToString() + " " + token.m_text + "@" + std::to_string(token.m_position.line) +
           ":" + std::to_string(token.m_position.column);
  }
  return out;
}

// "Type text(child,child)"; the text is left out where it repeats the type
// (Root, Statement, Property). Recursive: meant for small trees only.
inline std::string Shape(const std::shared_ptr<AstNode>& node) {
  if (!node) return "null";
  std::string out = Format(node->m_type);
  if (node->m_text != out) out += " " + node->m_text;
  if (!node->m_children.empty()) {
    out += "(";
    for (size_t i = 0; i < node->m_children.size(); ++i) {
      if (i > 0) out += ",";
      out += Shape(node->m_children[i]);
    }
    out += ")";
  }
  return out;
}

inline std::shared_ptr<AstNode> Parse(const std::string& text) {
  Lexer lexer;
  TokenReader reader = lexer.Tokenize(text);
  return Parser::Analyze(reader);
}

// The whole front end as the compiler runs it: the empty string when the
// text passes, else the error report.
inline std::string Check(const std::string& text) {
  try {
    auto root = Parse(text);
    ParseWalker walker;
    walker.Walker(root);
    return "";
  } catch (const Exception& error) {
    return error.ToString();
  }
}

// The report written out independently of Exception::ToString.
inline std::string Report(unsigned long line, unsigned long column, int code,
                          const std::string& desc) {
  const char* exp = "?";
  switch (code) {
    case 10001: exp = "Variable not declared. "; break;
    case 10002: exp = "Method not implemented error. "; break;
    case 10003: exp = "Right parenthesis required. "; break;
    case 10005: exp = "Illegal character. "; break;
    case 10006: exp = "Illegal expression. "; break;
    case 10007: exp = "Illegal statement. "; break;
    case 90000:
      exp = "The length of actual parameter list and formal parameter list is different. ";
      break;
  }
  return "{ \"line\" : " + std::to_string(line) + ", \"column\" : " + std::to_string(column) +
         ", \"err_code\" : " + std::to_string(code) + ", \"err_exp\" : \"" + exp +
         "\", \"desc\" : \"" + desc + "\" }";
}

struct ReportCase {
  std::string formula;
  std::string report;  // empty: the formula passes
};
