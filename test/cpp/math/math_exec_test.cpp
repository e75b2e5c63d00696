// Every Exec of the math family with hostile argument combinations.

#include "math_strategies.h"

namespace {

TEST(MathExec, HostileArgumentsAlwaysReturnASeries) {
  ExpectHostileArgumentsReturn({
      {"ABS", &Make<AbsStrategy>, 1},         {"ACOS", &Make<ACosStrategy>, 1},
      {"ASIN", &Make<ASinStrategy>, 1},       {"ATAN", &Make<ATanStrategy>, 1},
      {"CEILING", &Make<CeilingStrategy>, 1}, {"COS", &Make<CosStrategy>, 1},
      {"EXP", &Make<ExpStrategy>, 1},         {"FLOOR", &Make<FloorStrategy>, 1},
      {"FRACPART", &Make<FracPartStrategy>, 1}, {"INTPART", &Make<IntPartStrategy>, 1},
      {"LN", &Make<LnStrategy>, 1},           {"LOG", &Make<LogStrategy>, 1},
      {"REVERSE", &Make<ReverseStrategy>, 1}, {"ROUND", &Make<RoundStrategy>, 1},
      {"SIGN", &Make<SignStrategy>, 1},       {"SIN", &Make<SinStrategy>, 1},
      {"SQRT", &Make<SqrtStrategy>, 1},       {"TAN", &Make<TanStrategy>, 1},
      {"MAX", &Make<MaxStrategy>, 2},         {"MIN", &Make<MinStrategy>, 2},
      {"MOD", &Make<ModStrategy>, 2},         {"POW", &Make<PowStrategy>, 2},
      {"ROUND2", &Make<Round2Strategy>, 2},   {"RAND", &Make<RandStrategy>, 1},
  });
}

}  // namespace
