// The kestovar-demo-sim module: the simulator behind the demo's interface.

#include "DemoSim.h"
#include "SimServer.h"

namespace {

class ModuleSim final : public kv::DemoSim {
public:
    explicit ModuleSim(kv::sim::SimConfig config) : m_server(std::move(config)) {}
    int start() override { return m_server.start(); }
    void stop() override { m_server.stop(); }
    QString baseUrl() const override { return m_server.baseUrl(); }
    QString apiKey() const override { return m_server.apiKey(); }
    QString approve(const QString& state) override { return m_server.approve(state); }

private:
    kv::sim::SimServer m_server;
};

} // namespace

extern "C" Q_DECL_EXPORT kv::DemoSim* kestovar_create_demo_sim(const kv::DemoSimConfig* config) {
    kv::sim::SimConfig sim;
    sim.speed = config->speed;
    sim.data.agents = config->agents;
    sim.hostile = config->hostile;
    return new ModuleSim(std::move(sim));
}
