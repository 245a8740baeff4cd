// Toon shading, fragment stage: the diffuse term of light 0 looks up a banded
// ramp (unit 1); a textured part mixes the ramp and its texture (unit 0) by
// mixFactor, an untextured part takes its material colour through the ramp.
uniform sampler2D sampler0;  // material texture
uniform sampler2D sampler1;  // toon ramp, dark on the left, light on the right
uniform int textureFlag;     // 1 when the part has a texture
uniform float mixFactor;     // share of the texture in a textured part

varying vec3 normal;
varying vec3 lightDirection;

void main() {
  float diffuse = max(dot(normalize(normal), lightDirection), 0.0);
  vec4 ramp = texture2D(sampler1, vec2(clamp(diffuse, 0.02, 0.98), 0.5));
  vec4 colour;
  if (textureFlag == 1) {
    vec4 texel = texture2D(sampler0, gl_TexCoord[0].st);
    colour = mix(ramp, texel * ramp, mixFactor);
  } else {
    colour = ramp * gl_FrontMaterial.diffuse;
  }
  gl_FragColor = vec4(colour.rgb, gl_FrontMaterial.diffuse.a);
}
