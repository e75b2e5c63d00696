#include "compiler/evaluator.h"

#include <iostream>

#include "compiler/common.h"
#include "compiler/exception.h"
#include "strategy/util/strategy_factory.h"
#include "util/util.h"

namespace {

// The operation of an operator node, chosen once from its type and text.
enum class OpCode { kAdd, kSub, kMul, kDiv, kGt, kGe, kLt, kLe, kEq, kNe, kAnd, kOr };

bool IsOperator(AstNode::Type type) {
  return type == AstNode::Or || type == AstNode::And || type == AstNode::Equal ||
         type == AstNode::Rel || type == AstNode::Add || type == AstNode::Mul;
}

OpCode OpCodeOf(const AstNode& node) {
  const std::string& text = node.m_text;
  switch (node.m_type) {
    case AstNode::Add:
      return text == "+" ? OpCode::kAdd : OpCode::kSub;
    case AstNode::Mul:
      return text == "*" ? OpCode::kMul : OpCode::kDiv;
    case AstNode::Rel:
      if (text == ">") return OpCode::kGt;
      if (text == ">=") return OpCode::kGe;
      if (text == "<") return OpCode::kLt;
      return OpCode::kLe;
    case AstNode::Equal:
      return text == "=" ? OpCode::kEq : OpCode::kNe;
    case AstNode::And:
      return OpCode::kAnd;
    default:
      return OpCode::kOr;
  }
}

// One operand as the operators see it: a series, or a number standing for
// `bar_count` copies of itself. Strings and drawings have no elements.
struct Operand {
  explicit Operand(const DataExt& value, size_t bar_count)
      : data(value.m_raw_data.data()),
        number(value.m_single_number),
        is_number(value.isSingleNumberType()),
        length(value.isSingleNumberType() ? bar_count : value.m_raw_data.size()) {}
  double At(size_t i) const { return is_number ? number : data[i]; }

  const double* data;
  double number;
  bool is_number;
  size_t length;
};

template <typename Op>
void CombineElements(const Operand& a, const Operand& b, double* out, size_t length, Op op) {
  for (size_t i = 0; i < length; ++i) {
    double x = a.At(i);
    double y = b.At(i);
    out[i] = (x == kInvalidValue || y == kInvalidValue) ? kInvalidValue : op(x, y);
  }
}

void Apply(OpCode code, const Operand& a, const Operand& b, double* out, size_t n) {
  switch (code) {
    case OpCode::kAdd: return CombineElements(a, b, out, n, [](double x, double y) { return x + y; });
    case OpCode::kSub: return CombineElements(a, b, out, n, [](double x, double y) { return x - y; });
    case OpCode::kMul: return CombineElements(a, b, out, n, [](double x, double y) { return x * y; });
    case OpCode::kDiv:
      // Division by zero (either sign) gives 0 instead of an infinity.
      return CombineElements(a, b, out, n, [](double x, double y) { return y == 0.0 ? 0.0 : x / y; });
    case OpCode::kGt: return CombineElements(a, b, out, n, [](double x, double y) { return x > y ? 1.0 : 0.0; });
    case OpCode::kGe: return CombineElements(a, b, out, n, [](double x, double y) { return x >= y ? 1.0 : 0.0; });
    case OpCode::kLt: return CombineElements(a, b, out, n, [](double x, double y) { return x < y ? 1.0 : 0.0; });
    case OpCode::kLe: return CombineElements(a, b, out, n, [](double x, double y) { return x <= y ? 1.0 : 0.0; });
    case OpCode::kEq: return CombineElements(a, b, out, n, [](double x, double y) { return x == y ? 1.0 : 0.0; });
    case OpCode::kNe: return CombineElements(a, b, out, n, [](double x, double y) { return x != y ? 1.0 : 0.0; });
    case OpCode::kAnd:
      return CombineElements(a, b, out, n, [](double x, double y) { return x != 0.0 && y != 0.0 ? 1.0 : 0.0; });
    case OpCode::kOr:
      return CombineElements(a, b, out, n, [](double x, double y) { return x != 0.0 || y != 0.0 ? 1.0 : 0.0; });
  }
}

// Rows of a run that has none, and what the evaluator holds between runs.
const std::shared_ptr<const BarData>& NoBars() {
  static const std::shared_ptr<const BarData> empty = std::make_shared<BarData>();
  return empty;
}

}  // namespace

Evaluator::Evaluator() : m_table(Table::Instance()) {}

Result Evaluator::Evaluate(const std::shared_ptr<AstNode>& root,
                           const std::vector<std::map<std::string, std::string>>& rows) {
  return Evaluate(root, std::make_shared<const BarData>(rows));
}

Result Evaluator::Evaluate(const std::shared_ptr<AstNode>& root,
                           std::shared_ptr<const BarData> rows) {
  m_env.m_bars = rows ? std::move(rows) : NoBars();
  // Every run starts from no variables, so equal inputs give equal outputs.
  m_env.m_variables.clear();
  Result result;
  if (root) {
    for (const std::shared_ptr<AstNode>& statement : root->m_children) {
      std::shared_ptr<AstNode> body = statement->ChildAtIndex(0);
      std::shared_ptr<AstNode> props = statement->ChildAtIndex(1);
      if (!body) continue;

      std::string name;
      DataExt value;
      bool draws = false;
      if (body->m_type == AstNode::ReturnAssign || body->m_type == AstNode::Assignment) {
        std::shared_ptr<AstNode> target = body->ChildAtIndex(0);
        value = Evaluate(body->ChildAtIndex(1));
        name = target ? target->m_text : std::string();
        if (body->m_type == AstNode::Assignment) {
          m_env.m_variables[name] = std::move(value);
          continue;
        }
        m_env.m_variables[name] = value;
      } else if (body->m_type == AstNode::Fun) {
        name = body->m_text;
        draws = m_table->IsDraw(name);
        value = Call(name, body);
      } else {
        continue;  // a statement without an assignment or call has no output
      }

      std::vector<std::string> properties;
      if (props) {
        for (const std::shared_ptr<AstNode>& prop : props->m_children) {
          DataExt text = Evaluate(prop);
          if (text.isStringType()) properties.push_back(std::move(text.m_string));
        }
      }
      if (draws) {
        result.Add(VarModel(std::move(name), std::move(value.m_draw_entry), std::move(properties)));
      } else {
        result.Add(VarModel(std::move(name), std::move(value.m_raw_data), std::move(properties)));
      }
    }
  }
  // Nothing of a run is needed afterwards: let go of the rows and variables.
  m_env.m_bars = NoBars();
  m_env.m_variables.clear();
  return result;
}

DataExt Evaluator::Evaluate(const std::shared_ptr<AstNode>& node) {
  if (!node) return DataExt();
  switch (node->m_type) {
    case AstNode::Digit:
      return DataExt(Util::StringToDouble(node->m_text));
    case AstNode::String:
    case AstNode::PropertyLiteral:
      return DataExt(node->m_text);
    case AstNode::Identifier: {
      auto it = m_env.m_variables.find(node->m_text);
      if (it == m_env.m_variables.end()) {
        std::cout << "Can not found var : " << node->m_text << std::endl;
        return DataExt();
      }
      return it->second;
    }
    case AstNode::Static:
      return Static(node);
    case AstNode::Or:
    case AstNode::And:
    case AstNode::Equal:
    case AstNode::Rel:
    case AstNode::Add:
    case AstNode::Mul:
      return EvaluateOperatorChain(node.get());
    case AstNode::Fun:
      return Call(node->m_text, node);
    default:
      return DataExt();
  }
}

DataExt Evaluator::Call(const std::string& name, const std::shared_ptr<AstNode>& node) {
  std::vector<DataExt> args;
  args.reserve(node->m_children.size());
  for (const std::shared_ptr<AstNode>& child : node->m_children) args.push_back(Evaluate(child));
  std::unique_ptr<Strategy> strategy = StrategyFactory::StrategyByName(name);
  if (!strategy) Exception::ThrowException(0, 0, name, ERR_LOSS_METHOD_IMPL);
  return strategy->Exec(std::move(args), m_env, node);
}

DataExt Evaluator::Static(const std::shared_ptr<AstNode>&) {
  return DataExt(std::vector<double>(m_env.BarCount(), kInvalidValue));
}

DataExt Evaluator::Add(const std::shared_ptr<AstNode>& node) { return EvaluateOperatorChain(node.get()); }
DataExt Evaluator::Mul(const std::shared_ptr<AstNode>& node) { return EvaluateOperatorChain(node.get()); }
DataExt Evaluator::Equal(const std::shared_ptr<AstNode>& node) { return EvaluateOperatorChain(node.get()); }
DataExt Evaluator::And(const std::shared_ptr<AstNode>& node) { return EvaluateOperatorChain(node.get()); }
DataExt Evaluator::Or(const std::shared_ptr<AstNode>& node) { return EvaluateOperatorChain(node.get()); }
DataExt Evaluator::Rel(const std::shared_ptr<AstNode>& node) { return EvaluateOperatorChain(node.get()); }

DataExt Evaluator::EvaluateOperatorChain(const AstNode* node) {
  // Collect the operators down the left spine, evaluate the leftmost operand,
  // then apply the operators from the innermost outwards: the same order as a
  // recursive walk (left operand, right operand, operation) without recursion.
  std::vector<const AstNode*> spine;
  const AstNode* leftmost = node;
  while (leftmost && IsOperator(leftmost->m_type)) {
    spine.push_back(leftmost);
    leftmost = leftmost->m_children.empty() ? nullptr : leftmost->m_children[0].get();
  }
  DataExt acc = leftmost ? Evaluate(spine.back()->m_children[0]) : DataExt();
  for (auto it = spine.rbegin(); it != spine.rend(); ++it) {
    DataExt right = Evaluate((*it)->ChildAtIndex(1));
    acc = Combine(**it, acc, right);
  }
  return acc;
}

DataExt Evaluator::Combine(const AstNode& op, const DataExt& left, const DataExt& right) const {
  size_t bar_count = m_env.BarCount();
  Operand a(left, bar_count);
  Operand b(right, bar_count);
  size_t length = a.length < b.length ? a.length : b.length;
  std::vector<double> out(length);
  Apply(OpCodeOf(op), a, b, out.data(), length);
  return DataExt(std::move(out));
}
