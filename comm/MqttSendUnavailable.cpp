// The sender to a gateway's panels where the build has no MQTT client library.
#include "comm/MqttSend.h"

#include "base/TranslateNoop.h"
#include "comm/PanelSend.h"
#include "comm/Results.h"

namespace zor {

namespace {

TMessage NoBroker()
{
    return TMessage::Tr("MqttSend", ZOR_TRANSLATE_NOOP("MqttSend", "this build cannot reach panels "
                                                                   "through an MQTT broker"));
}

} // namespace

TPanelOutcome SendThroughBroker(const std::string &, const TPanelJob &job, const TMqttSendOptions &,
                                const TTransferStop *, const TMqttProgress &)
{
    TPanelOutcome outcome;
    outcome.Code = ResultUnknownError;
    outcome.PortProblem = NoBroker();
    outcome.Blocks = job.Blocks();
    outcome.Frame = job.Kind == TPanelJob::TKind::Program ? 0 : -1;
    return outcome;
}

TGatewayProbe ProbeGateway(const std::string &, const TMqttSendOptions &, int,
                           const TTransferStop *)
{
    return {TGatewayStatus::Unknown, NoBroker().Text()};
}

} // namespace zor
