#include "compiler/evaluator.h"

#include <cstdint>
#include <functional>
#include <iostream>
#include <unordered_set>

#include "compiler/common.h"
#include "compiler/exception.h"
#include "compiler/function_registry.h"
#include "strategy/util/strategy_factory.h"
#include "util/cancel.h"
#include "util/util.h"

namespace {

// The operation of an operator node, chosen once from its type and text.
enum class OpCode { kAdd, kSub, kMul, kDiv, kGt, kGe, kLt, kLe, kEq, kNe, kAnd, kOr };

bool IsOperator(AstNode::Type type) {
  return type == AstNode::Or || type == AstNode::And || type == AstNode::Equal ||
         type == AstNode::Rel || type == AstNode::Add || type == AstNode::Mul;
}

// Collects the operators down the left spine of an operator chain, the
// outermost first, and returns the operand below the innermost (null when it
// has none): the chain is then applied from the innermost outwards, the order
// of a recursive walk, without recursion.
const AstNode* LeftSpine(const AstNode* node, std::vector<const AstNode*>& spine) {
  while (node && IsOperator(node->m_type)) {
    spine.push_back(node);
    node = node->m_children.empty() ? nullptr : node->m_children[0].get();
  }
  return node;
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

// One operand as the operators see it: a series (element i at data[i -
// base]), or a number standing for `bar_count` copies of itself. Strings
// and drawings have no elements.
struct Operand {
  explicit Operand(const DataExt& value, size_t bar_count)
      : data(value.m_raw_data.data()),
        number(value.m_single_number),
        is_number(value.isSingleNumberType()),
        length(value.isSingleNumberType() ? bar_count : value.m_raw_data.size()) {}
  explicit Operand(const NodeState& state, size_t bar_count) : Operand(state.value, bar_count) {
    if (state.IsSeries()) {
      const SeriesView view = state.Series();
      data = view.size() > view.base() ? view.at(view.base()) : nullptr;
      base = view.base();
      length = view.size();
    }
  }

  const double* data;
  size_t base = 0;
  double number;
  bool is_number;
  size_t length;
};

// out[i] = op(a[i], b[i]) for i in [from, n), with a gap in either operand
// giving a gap; one loop per shape of the operands, so that each is a
// plain loop over arrays.
template <typename Op>
void CombineElements(const Operand& a, const Operand& b, double* out, size_t out_base,
                     size_t from, size_t length, Op op) {
  // Computed in any case and then chosen, without a branch, so that the
  // loops run on vectors.
  auto apply = [op](double x, double y) {
    const double result = op(x, y);
    return (x == kInvalidValue) | (y == kInvalidValue) ? kInvalidValue : result;
  };
  const double* x = a.data;
  const double* y = b.data;
  const size_t xb = a.base;
  const size_t yb = b.base;
  if (a.is_number && b.is_number) {
    const double value = apply(a.number, b.number);
    for (size_t i = from; i < length; ++i) out[i - out_base] = value;
  } else if (a.is_number) {
    for (size_t i = from; i < length; ++i) out[i - out_base] = apply(a.number, y[i - yb]);
  } else if (b.is_number) {
    for (size_t i = from; i < length; ++i) out[i - out_base] = apply(x[i - xb], b.number);
  } else {
    for (size_t i = from; i < length; ++i) out[i - out_base] = apply(x[i - xb], y[i - yb]);
  }
}

// Elements from..n-1 of the operation, written at out[i - out_base].
void Apply(OpCode code, const Operand& a, const Operand& b, double* out, size_t out_base,
           size_t from, size_t n) {
  switch (code) {
    case OpCode::kAdd: return CombineElements(a, b, out, out_base, from, n, [](double x, double y) { return x + y; });
    case OpCode::kSub: return CombineElements(a, b, out, out_base, from, n, [](double x, double y) { return x - y; });
    case OpCode::kMul: return CombineElements(a, b, out, out_base, from, n, [](double x, double y) { return x * y; });
    case OpCode::kDiv:
      // Division by zero (either sign) gives 0 instead of an infinity.
      return CombineElements(a, b, out, out_base, from, n, [](double x, double y) {
        const double quotient = x / y;
        return y == 0.0 ? 0.0 : quotient;
      });
    case OpCode::kGt: return CombineElements(a, b, out, out_base, from, n, [](double x, double y) { return x > y ? 1.0 : 0.0; });
    case OpCode::kGe: return CombineElements(a, b, out, out_base, from, n, [](double x, double y) { return x >= y ? 1.0 : 0.0; });
    case OpCode::kLt: return CombineElements(a, b, out, out_base, from, n, [](double x, double y) { return x < y ? 1.0 : 0.0; });
    case OpCode::kLe: return CombineElements(a, b, out, out_base, from, n, [](double x, double y) { return x <= y ? 1.0 : 0.0; });
    case OpCode::kEq: return CombineElements(a, b, out, out_base, from, n, [](double x, double y) { return x == y ? 1.0 : 0.0; });
    case OpCode::kNe: return CombineElements(a, b, out, out_base, from, n, [](double x, double y) { return x != y ? 1.0 : 0.0; });
    case OpCode::kAnd:
      return CombineElements(a, b, out, out_base, from, n, [](double x, double y) { return x != 0.0 && y != 0.0 ? 1.0 : 0.0; });
    case OpCode::kOr:
      return CombineElements(a, b, out, out_base, from, n, [](double x, double y) { return x != 0.0 || y != 0.0 ? 1.0 : 0.0; });
  }
}

}  // namespace

Evaluator::Evaluator() : m_table(Table::Instance()) {}

Evaluator::Evaluator(const BarData& bars) : m_table(Table::Instance()), m_env(bars) {}

Result Evaluator::EvaluateAll(const std::shared_ptr<AstNode>& root) {
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
  // Nothing of a run is needed afterwards: let go of the variables.
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
  std::vector<const AstNode*> spine;
  DataExt acc = LeftSpine(node, spine) ? Evaluate(spine.back()->m_children[0]) : DataExt();
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
  Apply(OpCodeOf(op), a, b, out.data(), 0, 0, length);
  return DataExt(std::move(out));
}

// ---- Incremental runs --------------------------------------------------------

namespace {

size_t Min(size_t a, size_t b) { return a < b ? a : b; }

// The first changed bar of a node whose value went from `old_length` to
// `new_length` elements and may differ from bar `from` on.
size_t ChangedFrom(size_t from, size_t old_length, size_t new_length) {
  if (old_length != new_length) from = Min(from, Min(old_length, new_length));
  return from >= new_length ? kUnchanged : from;
}

template <typename T>
size_t VectorBytes(const std::vector<T>& items) {
  return items.capacity() * sizeof(T);
}

// The heap bytes a value holds, near enough to tell the host how much
// native memory a formula keeps (a candle's map counted as four nodes).
size_t HeldBytes(const DataExt& value) {
  const DrawEntry& draw = value.m_draw_entry;
  size_t bytes = VectorBytes(value.m_raw_data) + value.m_string.capacity() +
                 draw.draw_text.capacity() + VectorBytes(draw.draw_positions) +
                 VectorBytes(draw.part_lines) + VectorBytes(draw.draw_numbers) +
                 VectorBytes(draw.draw_sls) + VectorBytes(draw.stick_lines) +
                 draw.draw_kline_datas.capacity() * (sizeof(std::map<std::string, double>) + 256);
  for (const DrawNumberEntry& number : draw.draw_numbers) bytes += number.value.capacity();
  if (!draw.part_lines.empty()) bytes += draw.part_lines.front().Color().capacity();
  return bytes;
}

}  // namespace

size_t Evaluator::KeptBytes() const {
  size_t bytes = 0;
  for (const auto& entry : m_states) bytes += sizeof(entry) + HeldBytes(entry.second.value);
  for (const auto& entry : m_columns) bytes += sizeof(entry) + HeldBytes(entry.second.value);
  return bytes;
}

void Evaluator::Forget() {
  m_states.clear();
  m_columns.clear();
  m_last_root = nullptr;
  m_outputs.clear();
}

namespace {

// Thrown inside a run that found bars it needs already let go: the run
// starts again from bar 0.
struct StartAgain {};

}  // namespace

const std::vector<Evaluator::Output>& Evaluator::Run(const std::shared_ptr<AstNode>& root) {
  const BarData& bars = m_env.Bars();
  m_from = 0;
  if (m_last_root == root.get() && m_last_rows_id == bars.Id() &&
      m_last_period == m_env.m_period) {
    m_from = bars.FirstChangedSince(m_last_version);
    // Rows appended empty change nothing; a change of an empty list does.
    if (m_from == static_cast<size_t>(-1) || (m_from >= bars.size() && !bars.empty())) {
      m_from = kUnchanged;
    }
  }
  if (m_from == 0) Forget();
  if (m_plan_root != root.get()) Plan(root.get());
  m_last_root = root.get();
  m_last_rows_id = bars.Id();
  m_last_version = bars.Version();
  m_last_period = m_env.m_period;
  try {
    try {
      RunStatements(root.get(), true);
    } catch (const StartAgain&) {
      // Rare: a function left its incremental path and needs all bars.
      Forget();
      m_from = 0;
      RunStatements(root.get(), false);
    }
  } catch (...) {
    // Some nodes may be a run ahead of others: start afresh next time.
    Forget();
    m_vars.clear();
    throw;
  }
  m_vars.clear();
  return m_outputs;
}

void Evaluator::RunStatements(const AstNode* root, bool trim) {
  ++m_run;
  m_trim = trim;
  m_vars.clear();
  m_outputs.clear();
  if (root) {
    for (const std::shared_ptr<AstNode>& statement : root->m_children) {
      const AstNode* body = statement->ChildAtIndex(0).get();
      const AstNode* props = statement->ChildAtIndex(1).get();
      if (!body) continue;
      Output output;
      output.draws = false;
      if (body->m_type == AstNode::ReturnAssign || body->m_type == AstNode::Assignment) {
        const AstNode* target = body->ChildAtIndex(0).get();
        const NodeState& value = Visit(body->ChildAtIndex(1).get());
        output.name = target ? target->m_text : std::string();
        m_vars[output.name] = &value;
        if (body->m_type == AstNode::Assignment) continue;
        output.state = &value;
      } else if (body->m_type == AstNode::Fun) {
        output.name = body->m_text;
        output.draws = m_table->IsDraw(output.name);
        output.state = &Visit(body);
      } else {
        continue;
      }
      if (props) {
        for (const std::shared_ptr<AstNode>& prop : props->m_children) {
          const NodeState& text = Visit(prop.get());
          if (text.value.isStringType()) output.properties.push_back(text.value.m_string);
        }
      }
      m_outputs.push_back(std::move(output));
    }
  }
  // Values nobody reads any more keep only what the next run reads, and no
  // spare buffer outlives the run.
  if (m_trim) {
    for (auto& [node, state] : m_states) {
      if (m_plan_outputs.count(node) == 0) state.Trim();
    }
  }
  m_spare.clear();
}

void Evaluator::Settle() {
  if (!m_trim) return;
  for (const Output& output : m_outputs) const_cast<NodeState*>(output.state)->Trim();
}

bool Evaluator::Whole() const {
  for (const Output& output : m_outputs) {
    if (output.state->base > 0) return false;
  }
  return true;
}

size_t Evaluator::FirstChanged() const {
  size_t first = kUnchanged;
  for (const Output& output : m_outputs) first = Min(first, output.state->changed);
  return first;
}

Result Evaluator::ToResult() const {
  Result result;
  for (const Output& output : m_outputs) {
    if (output.draws) {
      result.Add(VarModel(output.name, output.state->value.m_draw_entry, output.properties));
    } else {
      result.Add(VarModel(output.name, output.state->Whole().m_raw_data, output.properties));
    }
  }
  return result;
}

// ---- The plan of a formula: who reads each value last ------------------------

void Evaluator::Canonicalize(const AstNode* root) {
  m_canon.clear();
  // Every node gets the id of its value: equal ids for the same function of
  // the same values, wherever they are written. RAND draws anew at each call.
  std::unordered_map<std::string, int> ids;
  std::vector<const AstNode*> first;  // the first node of each id
  std::map<std::string, int> vars;    // the id each variable holds
  auto intern = [&](const AstNode* node, const std::string& key) {
    auto [it, fresh] = ids.emplace(key, static_cast<int>(first.size()));
    if (fresh) first.push_back(node);
    m_canon[node] = first[static_cast<size_t>(it->second)];
    return it->second;
  };
  auto unique = [](const AstNode* node) {
    return "#" + std::to_string(reinterpret_cast<std::uintptr_t>(node));
  };
  std::function<int(const AstNode*)> id = [&](const AstNode* node) -> int {
    if (!node) return -1;
    const std::string text = std::to_string(static_cast<int>(node->m_type)) + ":" + node->m_text;
    if (node->m_type == AstNode::Identifier) {
      auto it = vars.find(node->m_text);
      return it != vars.end() ? it->second : intern(node, "?" + node->m_text);
    }
    if (IsOperator(node->m_type)) {
      // A left-deep chain is walked with a loop, as Visit() does.
      std::vector<const AstNode*> spine;
      int acc = id(LeftSpine(node, spine));
      for (auto it = spine.rbegin(); it != spine.rend(); ++it) {
        const int right = id((*it)->ChildAtIndex(1).get());
        const std::string op = std::to_string(static_cast<int>((*it)->m_type)) + ":" + (*it)->m_text;
        acc = intern(*it, op + "(" + std::to_string(acc) + "," + std::to_string(right) + ")");
      }
      return acc;
    }
    if (node->m_type == AstNode::Fun) {
      std::string key = text + "(";
      for (const std::shared_ptr<AstNode>& child : node->m_children) {
        key += std::to_string(id(child.get())) + ",";
      }
      if (node->m_text == "RAND") key += unique(node);
      return intern(node, key + ")");
    }
    switch (node->m_type) {
      case AstNode::Digit:
      case AstNode::String:
      case AstNode::PropertyLiteral:
      case AstNode::Static:
        return intern(node, text);
      default:
        return intern(node, unique(node));
    }
  };
  if (!root) return;
  for (const std::shared_ptr<AstNode>& statement : root->m_children) {
    const AstNode* body = statement->ChildAtIndex(0).get();
    const AstNode* props = statement->ChildAtIndex(1).get();
    if (!body) continue;
    if (body->m_type == AstNode::ReturnAssign || body->m_type == AstNode::Assignment) {
      const AstNode* target = body->ChildAtIndex(0).get();
      vars[target ? target->m_text : std::string()] = id(body->ChildAtIndex(1).get());
    } else if (body->m_type == AstNode::Fun) {
      id(body);
    } else {
      continue;
    }
    if (props) {
      for (const std::shared_ptr<AstNode>& prop : props->m_children) id(prop.get());
    }
  }
}

const AstNode* Evaluator::Canon(const AstNode* node) const {
  auto it = m_canon.find(node);
  return it == m_canon.end() ? node : it->second;
}

void Evaluator::Plan(const AstNode* root) {
  Canonicalize(root);
  m_plan_root = root;
  m_plan_readers.clear();
  m_plan_outputs.clear();
  std::unordered_set<const AstNode*> visited;
  std::map<std::string, const AstNode*> vars;
  // The node whose state holds the value of `node` (null: a bar column or
  // nothing, which are never let go), visiting in the order of Visit().
  std::function<const AstNode*(const AstNode*)> producer = [&](const AstNode* node) -> const AstNode* {
    if (!node) return nullptr;
    if (node->m_type == AstNode::Identifier) {
      auto it = vars.find(node->m_text);
      return it == vars.end() ? nullptr : it->second;
    }
    node = Canon(node);
    if (IsOperator(node->m_type)) {
      std::vector<const AstNode*> spine;
      const AstNode* acc = producer(LeftSpine(node, spine));
      for (auto it = spine.rbegin(); it != spine.rend(); ++it) {
        const AstNode* op = Canon(*it);
        if (visited.insert(op).second) {
          const AstNode* right = producer((*it)->ChildAtIndex(1).get());
          if (acc) m_plan_readers[acc] = op;
          if (right) m_plan_readers[right] = op;
        }
        acc = op;
      }
      return acc;
    }
    if (!visited.insert(node).second) return node;
    if (node->m_type == AstNode::Fun) {
      const FunctionInfo* function = FindFunction(node->m_text);
      if (node->m_children.empty() && function &&
          function->spread == FunctionSpread::kColumn) {
        return nullptr;
      }
      std::vector<const AstNode*> args;
      for (const std::shared_ptr<AstNode>& child : node->m_children) {
        args.push_back(producer(child.get()));
      }
      for (const AstNode* arg : args) {
        if (arg) m_plan_readers[arg] = node;
      }
    }
    return node;
  };
  if (!root) return;
  for (const std::shared_ptr<AstNode>& statement : root->m_children) {
    const AstNode* body = statement->ChildAtIndex(0).get();
    const AstNode* props = statement->ChildAtIndex(1).get();
    if (!body) continue;
    if (body->m_type == AstNode::ReturnAssign || body->m_type == AstNode::Assignment) {
      const AstNode* target = body->ChildAtIndex(0).get();
      const AstNode* value = producer(body->ChildAtIndex(1).get());
      vars[target ? target->m_text : std::string()] = value;
      if (body->m_type == AstNode::Assignment) continue;
      if (value) m_plan_outputs.insert(value);
    } else if (body->m_type == AstNode::Fun) {
      if (const AstNode* value = producer(body)) m_plan_outputs.insert(value);
    } else {
      continue;
    }
    if (props) {
      for (const std::shared_ptr<AstNode>& prop : props->m_children) producer(prop.get());
    }
  }
}

void Evaluator::Read(const AstNode* reader, const NodeState& arg, size_t need) {
  NodeState& state = const_cast<NodeState&>(arg);
  if (need > state.need) state.need = need;
  if (!m_trim || state.node == nullptr) return;
  auto it = m_plan_readers.find(state.node);
  if (it != m_plan_readers.end() && it->second == reader && m_plan_outputs.count(state.node) == 0) {
    state.Trim(&m_spare);
  }
}

// ---- Visiting nodes -----------------------------------------------------------

NodeState& Evaluator::StateOf(const AstNode* node) {
  NodeState& state = m_states[node];
  state.node = node;
  if (state.run != m_run) state.need = 0;  // the readers of this run say again
  return state;
}

const NodeState& Evaluator::Visit(const AstNode* node) {
  ThrowIfCancelled();  // a run cancelled from another thread stops between nodes
  if (!node) {
    m_nothing.changed = kUnchanged;
    return m_nothing;
  }
  node = Canon(node);  // one state for every copy of the same expression
  switch (node->m_type) {
    case AstNode::Identifier: {
      auto it = m_vars.find(node->m_text);
      if (it != m_vars.end()) return *it->second;
      std::cout << "Can not found var : " << node->m_text << std::endl;
      m_nothing.changed = kUnchanged;
      return m_nothing;
    }
    case AstNode::Or:
    case AstNode::And:
    case AstNode::Equal:
    case AstNode::Rel:
    case AstNode::Add:
    case AstNode::Mul:
      return VisitChain(node);
    case AstNode::Fun:
      return VisitCall(node);
    default:
      break;
  }
  NodeState& state = StateOf(node);
  if (state.run == m_run) return state;
  const bool kept = state.kept;
  state.run = m_run;
  state.kept = true;
  switch (node->m_type) {
    case AstNode::Digit:
      if (!kept) state.value = DataExt(Util::StringToDouble(node->m_text));
      state.changed = kept ? kUnchanged : 0;
      break;
    case AstNode::String:
    case AstNode::PropertyLiteral:
      if (!kept) state.value = DataExt(node->m_text);
      state.changed = kept ? kUnchanged : 0;
      break;
    case AstNode::Static: {
      size_t old_length = kept ? state.Size() : 0;
      if (m_env.BarCount() < state.base) throw StartAgain();
      state.value.m_raw_data.resize(m_env.BarCount() - state.base, kInvalidValue);
      state.changed = kept ? ChangedFrom(kUnchanged, old_length, m_env.BarCount()) : 0;
      break;
    }
    default:
      state.value = DataExt();
      state.changed = kept ? kUnchanged : 0;
  }
  return state;
}

const NodeState& Evaluator::VisitChain(const AstNode* node) {
  std::vector<const AstNode*> spine;
  const NodeState* acc = &Visit(LeftSpine(node, spine));
  for (auto it = spine.rbegin(); it != spine.rend(); ++it) {
    const AstNode* op = Canon(*it);
    NodeState& out = StateOf(op);
    if (out.run != m_run) {
      const NodeState& right = Visit((*it)->ChildAtIndex(1).get());
      CombineInto(*op, *acc, right, out);
      if (!out.causal) out.need = kAllBars;
      // An operator reads bar i of its operands for its bar i only.
      const size_t need = out.causal ? 2 : kAllBars;
      Read(op, *acc, need);
      Read(op, right, need);
    }
    acc = &out;
  }
  return *acc;
}

void Evaluator::Reuse(NodeState& state, size_t length) {
  std::vector<double>& held = state.value.m_raw_data;
  if (held.capacity() >= length) return;
  for (std::vector<double>& spare : m_spare) {
    if (spare.capacity() >= length) {
      // Sized already: every bar is written before it is read, and a
      // buffer that was written once costs neither zeroing nor page faults.
      held.swap(spare);
      spare = std::move(m_spare.back());
      m_spare.pop_back();
      return;
    }
  }
}

void Evaluator::CombineInto(const AstNode& op, const NodeState& left, const NodeState& right,
                            NodeState& out) {
  size_t bar_count = m_env.BarCount();
  Operand a(left, bar_count);
  Operand b(right, bar_count);
  size_t length = a.length < b.length ? a.length : b.length;
  size_t from = 0;
  size_t old_length = 0;
  if (out.kept) {
    old_length = out.Size();
    from = Min(Min(left.changed, right.changed), old_length);
  }
  if (from < length) {
    if ((!a.is_number && from < a.base) || (!b.is_number && from < b.base)) throw StartAgain();
    if (from < out.base) {
      if (from > 0) throw StartAgain();
      out.Restart();
    }
  }
  if (length < out.base) throw StartAgain();
  if (from == 0) Reuse(out, length);
  out.Resize(length);
  if (from < length) Apply(OpCodeOf(op), a, b, out.value.m_raw_data.data(), out.base, from, length);
  out.value.m_type = LIST_TYPE;
  out.changed = out.kept ? ChangedFrom(from, old_length, length) : 0;
  out.causal = left.causal && right.causal;
  out.kept = true;
  out.run = m_run;
}

NodeState& Evaluator::Market(const std::string& name) {
  char field = name[0];  // C/CLOSE, O/OPEN, H/HIGH, L/LOW, V/VOL
  NodeState& state = m_columns[field];
  if (state.run == m_run) return state;
  const BarData& bars = m_env.Bars();
  const std::vector<double>& column = field == 'C'   ? bars.Close()
                                      : field == 'O' ? bars.Open()
                                      : field == 'H' ? bars.High()
                                      : field == 'L' ? bars.Low()
                                                     : bars.Volume();
  // Read in place: the bars do not change during a run.
  state.column = &column;
  state.changed = state.kept ? ChangedFrom(Min(m_from, state.length), state.length, column.size()) : 0;
  state.length = column.size();
  state.kept = true;
  state.run = m_run;
  return state;
}

NodeState& Evaluator::VisitCall(const AstNode* node) {
  const std::string& name = node->m_text;
  NodeState& state = StateOf(node);
  if (!state.function) {
    state.function = FindFunction(name);
    state.whole = !state.function || (state.function->spread != FunctionSpread::kPointwise &&
                                      state.function->spread != FunctionSpread::kResumes);
  }
  const FunctionSpread spread =
      state.function ? state.function->spread : FunctionSpread::kFromFirstBar;
  if (spread == FunctionSpread::kColumn && node->m_children.empty()) return Market(name);
  if (state.run == m_run) return state;

  std::unique_ptr<Strategy> strategy = StrategyFactory::StrategyByName(name);
  if (!strategy) Exception::ThrowException(0, 0, name, ERR_LOSS_METHOD_IMPL);
  std::vector<const NodeState*> args;
  args.reserve(node->m_children.size());
  size_t from = m_from;
  bool causal = state.function && state.function->Causal();
  for (const std::shared_ptr<AstNode>& child : node->m_children) {
    const NodeState& arg = Visit(child.get());
    args.push_back(&arg);
    from = Min(from, arg.changed);
    causal = causal && arg.causal;
  }
  state.causal = causal;
  // A value that may change before the first changed bar is kept whole.
  if (!causal) state.need = kAllBars;
  // What this call reads again of its arguments on the next run.
  const size_t need = !causal                                  ? kAllBars
                      : spread == FunctionSpread::kPointwise ? 2
                      : spread == FunctionSpread::kResumes   ? strategy->Lookback(args)
                                                             : kAllBars;
  Compute(*strategy, state, args, from);
  for (const NodeState* arg : args) Read(node, *arg, need);
  return state;
}

void Evaluator::Compute(Strategy& strategy, NodeState& state,
                        const std::vector<const NodeState*>& args, size_t from) {
  const FunctionSpread spread =
      state.function ? state.function->spread : FunctionSpread::kFromFirstBar;
  const bool kept = state.kept && state.run + 1 == m_run;
  state.run = m_run;
  if (kept && from == kUnchanged) {
    state.changed = kUnchanged;
    return;
  }
  size_t old_length = kept && state.value.isListType() ? state.Size() : 0;
  if (!kept || !state.value.isListType()) from = 0;
  from = Min(from, old_length);

  bool done = false;
  if (spread == FunctionSpread::kPointwise && from > 0 && from >= state.base) {
    // Bar i of the output reads bar i of the arguments: run the function over
    // the changed tail of each series argument only.
    std::vector<DataExt> tail;
    tail.reserve(args.size());
    size_t full_length = kUnchanged;
    bool any_series = false;
    for (const NodeState* arg : args) {
      if (arg->IsSeries()) {
        const SeriesView view = arg->Series();
        any_series = true;
        full_length = Min(full_length, view.size());
        size_t start = Min(from, view.size());
        if (start < view.base()) throw StartAgain();
        tail.emplace_back(std::vector<double>(view.at(start), view.at(start) + (view.size() - start)));
      } else if (arg->value.isSingleNumberType()) {
        full_length = Min(full_length, m_env.BarCount());
        tail.push_back(arg->value);
      } else {
        any_series = false;
        break;
      }
    }
    if (any_series && tail.size() == args.size() && from <= full_length) {
      const Environment::WidenOver widen(m_env, full_length - from);
      DataExt part = strategy.Exec(std::move(tail), m_env, nullptr);
      if (part.isListType() && part.m_raw_data.size() == full_length - from) {
        state.Resize(full_length);
        std::copy(part.m_raw_data.begin(), part.m_raw_data.end(), &state.At(from));
        done = true;
      }
    }
  } else if (spread == FunctionSpread::kResumes) {
    if (!kept) {
      state.value = DataExt();
      state.Restart();
      Reuse(state, m_env.BarCount());
    }
    done = strategy.Resume(args, m_env.BarCount(), from, state);
  }

  if (done) {
    state.value.m_type = LIST_TYPE;
    state.changed = kept ? ChangedFrom(from, old_length, state.Size()) : 0;
  } else {
    // The whole function, then the first bar where its output moved: every
    // bar of the arguments and, to compare, of the kept value is needed.
    std::vector<DataExt> copies;
    copies.reserve(args.size());
    for (const NodeState* arg : args) {
      if (arg->IsSeries() && arg->Series().base() > 0) throw StartAgain();
      copies.push_back(arg->Whole());
    }
    // A function with an incremental path changes nothing before `from`
    // (its path is checked against full runs): a value cut down to its last
    // bars is compared over those. Any other needs its whole value.
    if (kept && state.base > 0 && (state.whole || !state.causal)) throw StartAgain();
    std::shared_ptr<AstNode> self;  // strategies read their node's position only
    DataExt value = strategy.Exec(std::move(copies), m_env, self);
    if (!kept) {
      state.changed = 0;
    } else if (state.base > 0) {
      state.changed = value.isListType() && value.m_raw_data.size() >= state.base
                          ? FirstHeldDifference(state, value.m_raw_data)
                          : 0;
    } else {
      state.changed = FirstDifference(state.value, value);
    }
    state.value = std::move(value);
    state.base = 0;
    state.valid_dropped = kUnchanged;
    state.resume_at = 0;  // a resumable path starts again from bar 0
    state.first_valid = 0;
  }
  state.kept = true;
}
