#pragma once
// Checked floating-point steps for the equipment models. A result that is not a finite
// number is an arithmetic failure: it is raised as EMathError instead of letting an
// infinity or a NaN travel on (no floating-point traps are relied upon).

#include <QString>

#include <cmath>
#include <stdexcept>

class EMathError : public std::runtime_error {
public:
  explicit EMathError(const QString &message)
      : std::runtime_error(message.toStdString()), FMessage(message)
  {
  }
  QString Message() const { return FMessage; }

private:
  QString FMessage;
};

namespace FloatCheck {

inline const QString OverflowMessage = QStringLiteral("Débordement de virgule flottante");
inline const QString ZeroDivideMessage = QStringLiteral("Division par zéro en virgule flottante");
inline const QString InvalidMessage = QStringLiteral("Opération en virgule flottante incorrecte");
inline const QString NoConvergenceMessage = QStringLiteral("Le calcul ne converge pas");

// The value itself when finite; otherwise the failure it stands for.
inline double Finite(double value)
{
  if (std::isnan(value))
    throw EMathError(InvalidMessage);
  if (std::isinf(value))
    throw EMathError(OverflowMessage);
  return value;
}

inline double Divide(double numerator, double denominator)
{
  if (denominator == 0.0)
    throw EMathError(numerator == 0.0 || std::isnan(numerator) ? InvalidMessage : ZeroDivideMessage);
  return Finite(numerator / denominator);
}

inline double Exp(double x) { return Finite(std::exp(Finite(x))); }

inline double Power(double base, double exponent)
{
  return Finite(std::pow(Finite(base), Finite(exponent)));
}

}  // namespace FloatCheck
