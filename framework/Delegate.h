#pragma once

#include "framework/Object.h"

#include <functional>

namespace Quorvane {

template <class Signature> class Delegate;

// A handler bound to its target: calling it runs the handler on the target with the arguments.
// In mode 1 the delegate reaches its target through a reference that does not keep it alive.
template <class Result, class... Arguments>
class Delegate<Result(Arguments...)> : public Object {
public:
    // Runs the handler on the target; raises NilObjectException, and runs nothing, when the
    // target is gone.
    Result Invoke(Arguments... arguments) const { return m_call(std::move(arguments)...); }
    // The signature text that the delegate was made with.
    const String& Signature() const noexcept { return m_signature; }

protected:
    Delegate() = default;

private:
    template <class Target, class R, class... A>
    friend Ref<Delegate<R(A...)>> RuntimeCreateDelegate(R (*)(Target&, R (Target::*)(A...), A...),
                                                        R (Target::*)(A...), const Ref<Target>&,
                                                        String, Int32);
    std::function<Result(Arguments...)> m_call;
    String m_signature;
};

// The invoker that fits any handler: calls the handler on the target with the arguments and
// returns its result.
template <class Target, class Result, class... Arguments>
Result InvokeHandler(Target& target, Result (Target::*handler)(Arguments...), Arguments... arguments)
{
    return (target.*handler)(std::move(arguments)...);
}

// The delegate mode that reaches the target through a reference that may become empty.
inline constexpr Int32 DelegateModeWeakTarget = 1;

// A delegate that runs handler on target through invoker; an empty target raises
// NilObjectException; only mode 1 is offered.
template <class Target, class Result, class... Arguments>
Ref<Delegate<Result(Arguments...)>> RuntimeCreateDelegate(
    Result (*invoker)(Target&, Result (Target::*)(Arguments...), Arguments...),
    Result (Target::*handler)(Arguments...), const Ref<Target>& target, String signature, Int32 mode)
{
    if (mode != DelegateModeWeakTarget)
        throw UnsupportedOperationException("Delegates are made in mode 1 only.");
    if (!target)
        throw NilObjectException("A delegate was made for a target that holds nothing.");
    auto made = RuntimeNewObject<Delegate<Result(Arguments...)>>();
    WeakRef<Target> weakTarget(target);
    made->m_call = [invoker, handler, weakTarget](Arguments... arguments) -> Result {
        Ref<Target> reached = weakTarget.Lock();
        return invoker(*reached, handler, std::move(arguments)...);
    };
    made->m_signature = std::move(signature);
    return made;
}

} // namespace Quorvane
