#pragma once
// The chains of tertiary fluorescence in a film of t g/cm2 (tertiary.cpp has the bulk's and
// the notation): int_0^t P_m(z) K_t(b, mu_m, z) dz, with the secondary emission profile of
// line m, P_m(z) = sum_k p_k c_mk K_t(a, mu_k, z), and
// K_t(p, mu, z) = (1/2) int_0^t exp(-p u) E1(mu |u - z|) du.

#include <array>
#include <utility>
#include <vector>

namespace lumetra::physics {

class FilmChains {
  public:
    // A secondary line m: mu_m and its sources (index into first_mu, p_k c_mk).
    struct Middle {
        double mu = 0.0;
        std::vector<std::pair<std::size_t, double>> sources;
    };
    // a = mu(E0) / sin psi_in, t the film's g/cm2, mu_k of each first emitter.
    FilmChains(double a, double t, const std::vector<double>& first_mu,
               const std::vector<Middle>& middles);
    // Makes b = mu(E_L) / sin psi_out the exit of the chains asked next.
    void exit(double b);
    // int_0^t P_m(z) K_t(b, mu_m, z) dz of middle m, (g/cm2)^2 cm2/g.
    double chain(std::size_t m) const;

  private:
    static constexpr int kDirections = 12;
    std::vector<double> z_, weight_;  // depth nodes and weights
    std::array<double, kDirections> s_{}, w_{};
    double t_ = 0.0, b_ = 0.0;
    std::vector<double> exit_;  // exp(-b z) at the nodes
    struct Profile {
        double mu = 0.0;
        std::vector<double> P;  // P_m at the nodes
        // int P exp(-c z) dz and int P exp(-c (t - z)) dz at c = mu_m s_n
        std::array<double, kDirections> top{}, bottom{};
    };
    std::vector<Profile> profiles_;
    double K(double p, double mu, double z) const;
};

}  // namespace lumetra::physics
